// Kelpwright web backend: the WebGL 1 context of the window's canvas and the
// one shader program that draws every glBegin/glEnd of the OpenGL 1.1 subset:
// positions through projection * (modelview * vertex), colours per vertex.
// The JavaScript record Module.kwGl keeps the context, its program and buffer.
// WebGL calls: getContext, createShader, createProgram, createBuffer,
// bufferData, drawArrays, uniformMatrix4fv, clearColor, clear, enable, disable,
// viewport, WEBGL_lose_context.
#include "application/implementation/web/kwi_web_gl_context.h"

#include <emscripten.h>

// NOTE: an EM_JS body reaches JavaScript as one line, so every statement ends
// with its own semicolon.
// clang-format off
EM_JS(int, kw_gl_create, (), {
    var view = Module.kwWindow && Module.kwWindow.view;
    var gl = view && view.getContext('webgl', {alpha: false, depth: true, stencil: true, antialias: false});
    if (!gl) {
        return 0;
    }
    var record = {gl: gl, clearColour: [0, 0, 0, 0], enabled: {}};
    var vertexSource = 'attribute vec3 position; attribute vec4 colour; uniform mat4 modelview;' +
        'uniform mat4 projection; varying vec4 shade; void main() { shade = colour;' +
        'gl_Position = projection * (modelview * vec4(position, 1.0)); gl_PointSize = 1.0; }';
    var fragmentSource = 'precision mediump float; varying vec4 shade; void main() { gl_FragColor = shade; }';
    function shader(type, source) {
        var made = gl.createShader(type);
        gl.shaderSource(made, source);
        gl.compileShader(made);
        return made;
    }
    record.setUp = function() {
        var program = gl.createProgram();
        gl.attachShader(program, shader(gl.VERTEX_SHADER, vertexSource));
        gl.attachShader(program, shader(gl.FRAGMENT_SHADER, fragmentSource));
        gl.bindAttribLocation(program, 0, 'position');
        gl.bindAttribLocation(program, 1, 'colour');
        gl.linkProgram(program);
        gl.useProgram(program);
        record.modelview = gl.getUniformLocation(program, 'modelview');
        record.projection = gl.getUniformLocation(program, 'projection');
        gl.bindBuffer(gl.ARRAY_BUFFER, gl.createBuffer());
        gl.enableVertexAttribArray(0);
        gl.enableVertexAttribArray(1);
        gl.vertexAttribPointer(0, 3, gl.FLOAT, false, 28, 0);
        gl.vertexAttribPointer(1, 4, gl.FLOAT, false, 28, 12);
        var c = record.clearColour;
        gl.clearColor(c[0], c[1], c[2], c[3]);
        for (var capability in record.enabled) {
            if (record.enabled[capability]) {
                gl.enable(Number(capability));
            }
        }
    };
    view.addEventListener('webglcontextlost', function(event) { event.preventDefault(); });
    view.addEventListener('webglcontextrestored', function() { record.setUp(); });
    record.setUp();
    Module.kwGl = record;
    return 1;
});

EM_JS(void, kw_gl_destroy, (), {
    var record = Module.kwGl;
    Module.kwGl = null;
    var extension = record && record.gl.getExtension('WEBGL_lose_context');
    if (extension) {
        extension.loseContext();
    }
});

EM_JS(void, kw_gl_draw, (int mode, const float* vertices, int count, const float* modelview,
                         const float* projection), {
    var record = Module.kwGl;
    if (!record || record.gl.isContextLost()) {
        return;
    }
    var gl = record.gl;
    gl.uniformMatrix4fv(record.modelview, false, HEAPF32.subarray(modelview >> 2, (modelview >> 2) + 16));
    gl.uniformMatrix4fv(record.projection, false, HEAPF32.subarray(projection >> 2, (projection >> 2) + 16));
    gl.bufferData(gl.ARRAY_BUFFER, HEAPF32.subarray(vertices >> 2, (vertices >> 2) + count * 7), gl.STREAM_DRAW);
    gl.drawArrays(mode, 0, count);
});

EM_JS(void, kw_gl_clear_colour, (float red, float green, float blue, float alpha), {
    var record = Module.kwGl;
    if (record) {
        record.clearColour = [red, green, blue, alpha];
        record.gl.clearColor(red, green, blue, alpha);
    }
});

EM_JS(void, kw_gl_clear, (int mask), {
    if (Module.kwGl) {
        Module.kwGl.gl.clear(mask);
    }
});

EM_JS(void, kw_gl_capability, (int capability, int enabled), {
    var record = Module.kwGl;
    if (record) {
        record.enabled[capability] = enabled;
        if (enabled) {
            record.gl.enable(capability);
        } else {
            record.gl.disable(capability);
        }
    }
});

EM_JS(void, kw_gl_viewport, (int x, int y, int width, int height), {
    if (Module.kwGl) {
        Module.kwGl.gl.viewport(x, y, width, height);
    }
});
// clang-format on

namespace kwImplementation {
namespace WebGl {

namespace {

GlState sGl;

// The buffers WebGL clears: colour, depth and stencil (no accumulation buffer).
const unsigned int kClearableBuffers = 0x4000 | 0x0100 | 0x0400;

// The capabilities WebGL 1 has; the rest of OpenGL 1.1's (lighting,
// texturing, colour material, smoothing...) are accepted and change nothing.
// One row a capability.
// clang-format off
const unsigned int kWebGlCapabilities[] = {
    0x0B44, // GL_CULL_FACE
    0x0B71, // GL_DEPTH_TEST
    0x0B90, // GL_STENCIL_TEST
    0x0BD0, // GL_DITHER
    0x0BE2, // GL_BLEND
    0x0C11, // GL_SCISSOR_TEST
    0x8037, // GL_POLYGON_OFFSET_FILL
};
// clang-format on

} // namespace

GlState& GetGlState() { return sGl; }

Matrix4 Identity()
{
    Matrix4 identity = {};
    identity.m[0] = 1.0f;
    identity.m[5] = 1.0f;
    identity.m[10] = 1.0f;
    identity.m[15] = 1.0f;
    return identity;
}

bool CreateContext()
{
    // A new context starts from OpenGL's initial state.
    sGl = GlState();
    for (std::vector<Matrix4>& stack : sGl.stacks) {
        stack.reserve(kStackDepth);
        stack.push_back(Identity());
    }
    sGl.contextReady = kw_gl_create() != 0;
    return sGl.contextReady;
}

void DestroyContext()
{
    if (sGl.contextReady) {
        kw_gl_destroy();
    }
    sGl.contextReady = false;
}

void Draw(unsigned int mode, const std::vector<float>& vertices)
{
    const int count = static_cast<int>(vertices.size() / kVertexFloats);
    if (!sGl.contextReady || count == 0) {
        return;
    }
    kw_gl_draw(static_cast<int>(mode), vertices.data(), count, sGl.stacks[kModelview].back().m.data(),
               sGl.stacks[kProjection].back().m.data());
}

void SetClearColour(float red, float green, float blue, float alpha)
{
    if (sGl.contextReady) {
        kw_gl_clear_colour(red, green, blue, alpha);
    }
}

void Clear(unsigned int mask)
{
    if (sGl.contextReady) {
        kw_gl_clear(static_cast<int>(mask & kClearableBuffers));
    }
}

void SetCapability(unsigned int capability, bool enabled)
{
    if (!sGl.contextReady) {
        return;
    }
    for (const unsigned int known : kWebGlCapabilities) {
        if (known == capability) {
            kw_gl_capability(static_cast<int>(capability), enabled ? 1 : 0);
            return;
        }
    }
}

void SetViewport(int x, int y, int width, int height)
{
    if (sGl.contextReady && width >= 0 && height >= 0) {
        kw_gl_viewport(x, y, width, height);
    }
}

} // namespace WebGl
} // namespace kwImplementation
