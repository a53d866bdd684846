#version 330 core
// The flag's attributes are looked up by name, so they carry no fixed locations.
in vec3 position;
in vec2 uv;
in vec3 normal;

uniform mat4 mvp;
uniform mat4 view;

out vec2 TexCoords;
out vec3 ViewNormal;

void main()
{
    TexCoords = uv;
    ViewNormal = mat3(view) * normal;
    gl_Position = mvp * vec4(position, 1.0);
}
