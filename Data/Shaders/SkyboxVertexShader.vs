#version 330 core
layout (location = 0) in vec3 aPos;

uniform mat4 projection;
uniform mat4 view;
uniform mat4 model;

out vec3 Direction;

void main()
{
    // The cube's own corner directions pick the face texels, so the sky turns with it.
    Direction = aPos;
    gl_Position = projection * view * model * vec4(aPos, 1.0);
}
