#version 330 core
// The fortress's block objects (walls, teleports, frames, route marks), many at once:
// the same lighting as EnemyVertexShader.vs, with each instance's model matrix as an
// attribute instead of a uniform.
layout (location = 0) in vec3 aPos;
layout (location = 2) in vec2 aTexCoords;
layout (location = 3) in vec3 aNormal;
layout (location = 5) in mat4 instanceModel;  // locations 5 ... 8

uniform mat4 projection;
uniform mat4 view;

out vec3 FragPos;
out vec3 Normal;
out vec2 TexCoords;

void main()
{
    vec4 world = instanceModel * vec4(aPos, 1.0);
    FragPos = world.xyz;
    Normal = mat3(transpose(inverse(instanceModel))) * aNormal;
    // Pictures (the wall frames) are stored top row first: turn v over so they hang upright.
    TexCoords = vec2(aTexCoords.x, 1.0 - aTexCoords.y);
    gl_Position = projection * view * world;
}
