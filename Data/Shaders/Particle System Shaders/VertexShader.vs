#version 330 core
layout (location = 0) in vec3 aPos;

uniform mat4 view;
uniform mat4 model;

void main()
{
    // Eye space: the geometry stage spreads each point into a quad facing the camera.
    gl_Position = view * model * vec4(aPos, 1.0);
}
