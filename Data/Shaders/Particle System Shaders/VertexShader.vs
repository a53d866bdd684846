#version 330 core
// One instance per particle: the whole point batch is drawn at each particle's place.
layout (location = 0) in vec3 aPos;              // the point batch, all at the origin
layout (location = 1) in vec3 particlePosition;  // per instance

uniform mat4 view;
uniform mat4 model;  // the offset every particle of the system is drawn with

void main()
{
    // Eye space: the geometry stage spreads each point into a quad facing the camera.
    vec4 world = model * vec4(aPos + particlePosition, 1.0);
    gl_Position = view * world;
}
