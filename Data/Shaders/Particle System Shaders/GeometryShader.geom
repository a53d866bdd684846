#version 330 core
layout (points) in;
layout (triangle_strip, max_vertices = 4) out;

uniform mat4 projection;
uniform float scale;

out vec2 TexCoords;

void main()
{
    vec4 centre = gl_in[0].gl_Position;
    const vec2 corners[4] = vec2[](vec2(-1.0, -1.0), vec2(1.0, -1.0), vec2(-1.0, 1.0), vec2(1.0, 1.0));
    for (int i = 0; i < 4; ++i) {
        TexCoords = corners[i] * 0.5 + 0.5;
        gl_Position = projection * (centre + vec4(corners[i] * scale, 0.0, 0.0));
        EmitVertex();
    }
    EndPrimitive();
}
