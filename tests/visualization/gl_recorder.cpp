// Test support: the recording GL entry points (extern "C", with the exact
// signatures of <GL/gl.h>) and the helpers that read and build call records.
#include "gl_recorder.h"

#include <algorithm>
#include <cstring>
#include <iomanip>
#include <iterator>

namespace GlRecorder {

namespace {

std::vector<Call> sCalls;

void Record(const Call& call) { sCalls.push_back(call); }

} // namespace

std::ostream& operator<<(std::ostream& stream, const Call& call)
{
    stream << call.name << "(";
    const char* separator = "";
    for (unsigned int value : call.integers) {
        stream << separator << "0x" << std::hex << value << std::dec;
        separator = ", ";
    }
    for (std::uint32_t bits : call.floatBits) {
        float value;
        std::memcpy(&value, &bits, sizeof(value));
        stream << separator << std::setprecision(9) << value;
        separator = ", ";
    }
    return stream << ")";
}

std::vector<Call> CallsOf(const std::function<void()>& draw)
{
    sCalls.clear();
    draw();
    return sCalls;
}

std::vector<Call> Named(const std::vector<Call>& calls, const std::string& name)
{
    std::vector<Call> named;
    std::copy_if(calls.begin(), calls.end(), std::back_inserter(named), [&](const Call& call) { return call.name == name; });
    return named;
}

std::vector<Call> Join(std::initializer_list<std::vector<Call>> parts)
{
    std::vector<Call> joined;
    for (const std::vector<Call>& part : parts) {
        joined.insert(joined.end(), part.begin(), part.end());
    }
    return joined;
}

Call MakeCall(const std::string& name, const std::vector<unsigned int>& integers, const std::vector<float>& floats)
{
    Call call{name, integers, std::vector<std::uint32_t>(floats.size())};
    for (size_t i = 0; i < floats.size(); ++i) {
        std::memcpy(&call.floatBits[i], &floats[i], sizeof(float));
    }
    return call;
}

} // namespace GlRecorder

using namespace GlRecorder;

extern "C" {

void GLAPIENTRY glBegin(GLenum mode) { Record(Begin(mode)); }
void GLAPIENTRY glEnd(void) { Record(End()); }
void GLAPIENTRY glVertex3f(GLfloat x, GLfloat y, GLfloat z) { Record(Vertex(x, y, z)); }
void GLAPIENTRY glColor3ub(GLubyte red, GLubyte green, GLubyte blue) { Record(Color3ub(red, green, blue)); }
void GLAPIENTRY glColor4ub(GLubyte red, GLubyte green, GLubyte blue, GLubyte alpha)
{
    Record(Color4ub(red, green, blue, alpha));
}
void GLAPIENTRY glColor3f(GLfloat red, GLfloat green, GLfloat blue) { Record(Color3f(red, green, blue)); }
void GLAPIENTRY glEnable(GLenum capability) { Record(Enable(capability)); }
void GLAPIENTRY glDisable(GLenum capability) { Record(Disable(capability)); }
void GLAPIENTRY glPushMatrix(void) { Record(PushMatrix()); }
void GLAPIENTRY glPopMatrix(void) { Record(PopMatrix()); }
void GLAPIENTRY glMatrixMode(GLenum mode) { Record(MatrixMode(mode)); }
void GLAPIENTRY glLoadIdentity(void) { Record(LoadIdentity()); }
void GLAPIENTRY glLoadMatrixf(const GLfloat* m) { Record(LoadMatrix(m)); }
void GLAPIENTRY glTranslatef(GLfloat x, GLfloat y, GLfloat z) { Record(Translate(x, y, z)); }
void GLAPIENTRY glClearColor(GLclampf red, GLclampf green, GLclampf blue, GLclampf alpha)
{
    Record(MakeCall("glClearColor", {}, {red, green, blue, alpha}));
}
void GLAPIENTRY glClear(GLbitfield mask) { Record(MakeCall("glClear", {mask})); }

} // extern "C"
