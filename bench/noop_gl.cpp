// The OpenGL 1.1 entry points the drawing code calls, doing nothing. Linked
// into the benchmark program in place of the system library, so a frame costs
// what the framework does and nothing of a driver. While a digest is open each
// call folds its name and the bits of its arguments into it (FNV-1a).
#include "bench_support.h"

#include <GL/gl.h>

#include <cstring>
#include <type_traits>

namespace {

bool sDigesting = false;
std::uint64_t sDigest = 0;

template <typename Value> void Fold(Value value)
{
    std::uint32_t word = 0;
    if constexpr (std::is_floating_point<Value>::value) {
        std::memcpy(&word, &value, sizeof(word));
    } else {
        word = static_cast<std::uint32_t>(value);
    }
    sDigest = (sDigest ^ word) * 1099511628211ull;
}

// The call's number, then its arguments in order.
template <typename... Values> void Note(std::uint32_t call, Values... values)
{
    if (sDigesting) {
        Fold(call);
        (Fold(values), ...);
    }
}

} // namespace

namespace kwBench {

void BeginGlDigest()
{
    sDigest = 14695981039346656037ull;
    sDigesting = true;
}

std::uint64_t EndGlDigest()
{
    sDigesting = false;
    return sDigest;
}

} // namespace kwBench

extern "C" {

void GLAPIENTRY glBegin(GLenum mode) { Note(1, mode); }
void GLAPIENTRY glEnd(void) { Note(2); }
void GLAPIENTRY glVertex3f(GLfloat x, GLfloat y, GLfloat z) { Note(3, x, y, z); }
void GLAPIENTRY glColor3ub(GLubyte red, GLubyte green, GLubyte blue) { Note(4, red, green, blue); }
void GLAPIENTRY glColor4ub(GLubyte red, GLubyte green, GLubyte blue, GLubyte alpha)
{
    Note(5, red, green, blue, alpha);
}
void GLAPIENTRY glColor3f(GLfloat red, GLfloat green, GLfloat blue) { Note(6, red, green, blue); }
void GLAPIENTRY glEnable(GLenum capability) { Note(7, capability); }
void GLAPIENTRY glDisable(GLenum capability) { Note(8, capability); }
void GLAPIENTRY glPushMatrix(void) { Note(9); }
void GLAPIENTRY glPopMatrix(void) { Note(10); }
void GLAPIENTRY glMatrixMode(GLenum mode) { Note(11, mode); }
void GLAPIENTRY glLoadIdentity(void) { Note(12); }
void GLAPIENTRY glLoadMatrixf(const GLfloat* m)
{
    Note(13, m[0], m[1], m[2], m[3], m[4], m[5], m[6], m[7], m[8], m[9], m[10], m[11], m[12], m[13], m[14],
         m[15]);
}
void GLAPIENTRY glTranslatef(GLfloat x, GLfloat y, GLfloat z) { Note(14, x, y, z); }
void GLAPIENTRY glClearColor(GLclampf red, GLclampf green, GLclampf blue, GLclampf alpha)
{
    Note(15, red, green, blue, alpha);
}
void GLAPIENTRY glClear(GLbitfield mask) { Note(16, mask); }

} // extern "C"
