#version 330 core
// Imported models: weapons, items, scenery.
layout (location = 0) in vec3 aPos;
layout (location = 1) in vec3 aNormal;
layout (location = 2) in vec2 aTexCoords;

uniform mat4 projection;
uniform mat4 view;
uniform mat4 model;
#ifdef FAST_DRAWING
uniform mat3 normalMatrix;  // transpose(inverse(mat3(model))), once per draw instead of per vertex
#endif

out vec3 FragPos;
out vec3 Normal;
out vec2 TexCoords;

void main()
{
    vec4 world = model * vec4(aPos, 1.0);
    FragPos = world.xyz;
#ifdef FAST_DRAWING
    Normal = normalMatrix * aNormal;
#else
    Normal = mat3(transpose(inverse(model))) * aNormal;
#endif
    TexCoords = aTexCoords;
    gl_Position = projection * view * world;
}
