// Test support: the recording GL entry points (extern "C", with the exact
// signatures of <GL/gl.h>) and the helpers that read and build call records.
#include "gl_recorder.h"

#include <cstdint>
#include <cstring>
#include <iomanip>

namespace GlRecorder {

namespace {

std::vector<Call>& Calls()
{
    static std::vector<Call> calls;
    return calls;
}

void Record(const Call& call) { Calls().push_back(call); }

std::uint32_t Bits(float value)
{
    std::uint32_t bits;
    std::memcpy(&bits, &value, sizeof(bits));
    return bits;
}

} // namespace

bool operator==(const Call& left, const Call& right)
{
    if (left.name != right.name || left.integers != right.integers || left.floats.size() != right.floats.size()) {
        return false;
    }
    for (size_t i = 0; i < left.floats.size(); ++i) {
        if (Bits(left.floats[i]) != Bits(right.floats[i])) {
            return false;
        }
    }
    return true;
}

bool operator!=(const Call& left, const Call& right) { return !(left == right); }

std::ostream& operator<<(std::ostream& stream, const Call& call)
{
    stream << call.name << "(";
    const char* separator = "";
    for (unsigned int value : call.integers) {
        stream << separator << "0x" << std::hex << value << std::dec;
        separator = ", ";
    }
    for (float value : call.floats) {
        stream << separator << std::setprecision(9) << value;
        separator = ", ";
    }
    return stream << ")";
}

const std::vector<Call>& GetCalls() { return Calls(); }

void Clear() { Calls().clear(); }

std::vector<Call> CallsNamed(const std::string& name)
{
    std::vector<Call> named;
    for (const Call& call : Calls()) {
        if (call.name == name) {
            named.push_back(call);
        }
    }
    return named;
}

Call MakeCall(const std::string& name, std::initializer_list<unsigned int> integers, std::initializer_list<float> floats)
{
    return Call{name, integers, floats};
}

Call Begin(GLenum mode) { return MakeCall("glBegin", {mode}); }
Call End() { return MakeCall("glEnd"); }
Call Vertex(float x, float y, float z) { return MakeCall("glVertex3f", {}, {x, y, z}); }
Call Color3ub(unsigned int red, unsigned int green, unsigned int blue)
{
    return MakeCall("glColor3ub", {red, green, blue});
}
Call Color4ub(unsigned int red, unsigned int green, unsigned int blue, unsigned int alpha)
{
    return MakeCall("glColor4ub", {red, green, blue, alpha});
}
Call Color3f(float red, float green, float blue) { return MakeCall("glColor3f", {}, {red, green, blue}); }
Call Enable(GLenum capability) { return MakeCall("glEnable", {capability}); }
Call Disable(GLenum capability) { return MakeCall("glDisable", {capability}); }
Call PushMatrix() { return MakeCall("glPushMatrix"); }
Call PopMatrix() { return MakeCall("glPopMatrix"); }
Call MatrixMode(GLenum mode) { return MakeCall("glMatrixMode", {mode}); }
Call LoadIdentity() { return MakeCall("glLoadIdentity"); }
Call LoadMatrix(const std::vector<float>& elements) { return Call{"glLoadMatrixf", {}, elements}; }
Call Translate(float x, float y, float z) { return MakeCall("glTranslatef", {}, {x, y, z}); }

} // namespace GlRecorder

using GlRecorder::Call;
using GlRecorder::Record;

extern "C" {

void GLAPIENTRY glBegin(GLenum mode) { Record(Call{"glBegin", {mode}, {}}); }
void GLAPIENTRY glEnd(void) { Record(Call{"glEnd", {}, {}}); }
void GLAPIENTRY glVertex3f(GLfloat x, GLfloat y, GLfloat z) { Record(Call{"glVertex3f", {}, {x, y, z}}); }
void GLAPIENTRY glColor3ub(GLubyte red, GLubyte green, GLubyte blue)
{
    Record(Call{"glColor3ub", {red, green, blue}, {}});
}
void GLAPIENTRY glColor4ub(GLubyte red, GLubyte green, GLubyte blue, GLubyte alpha)
{
    Record(Call{"glColor4ub", {red, green, blue, alpha}, {}});
}
void GLAPIENTRY glColor3f(GLfloat red, GLfloat green, GLfloat blue) { Record(Call{"glColor3f", {}, {red, green, blue}}); }
void GLAPIENTRY glEnable(GLenum capability) { Record(Call{"glEnable", {capability}, {}}); }
void GLAPIENTRY glDisable(GLenum capability) { Record(Call{"glDisable", {capability}, {}}); }
void GLAPIENTRY glPushMatrix(void) { Record(Call{"glPushMatrix", {}, {}}); }
void GLAPIENTRY glPopMatrix(void) { Record(Call{"glPopMatrix", {}, {}}); }
void GLAPIENTRY glMatrixMode(GLenum mode) { Record(Call{"glMatrixMode", {mode}, {}}); }
void GLAPIENTRY glLoadIdentity(void) { Record(Call{"glLoadIdentity", {}, {}}); }
void GLAPIENTRY glLoadMatrixf(const GLfloat* m) { Record(Call{"glLoadMatrixf", {}, std::vector<float>(m, m + 16)}); }
void GLAPIENTRY glTranslatef(GLfloat x, GLfloat y, GLfloat z) { Record(Call{"glTranslatef", {}, {x, y, z}}); }
void GLAPIENTRY glClearColor(GLclampf red, GLclampf green, GLclampf blue, GLclampf alpha)
{
    Record(Call{"glClearColor", {}, {red, green, blue, alpha}});
}
void GLAPIENTRY glClear(GLbitfield mask) { Record(Call{"glClear", {mask}, {}}); }

} // extern "C"
