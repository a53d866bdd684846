#version 330 core
// The quad's corners (-1..1) are taken as clip coordinates directly, so the picture of
// the frame covers the whole window whatever matrices the draw sends.
layout (location = 0) in vec3 aPos;
layout (location = 2) in vec2 aTexCoords;

out vec2 TexCoords;

void main()
{
    TexCoords = aTexCoords;
    gl_Position = vec4(aPos.xy, 0.0, 1.0);
}
