#version 330 core
layout (location = 0) in vec3 aPos;
layout (location = 2) in vec2 aTexCoords;
layout (location = 3) in vec3 aNormal;
layout (location = 4) in vec3 aTangent;

uniform mat4 projection;
uniform mat4 view;
uniform mat4 model;

out vec3 FragPos;
out vec2 TexCoords;
out mat3 TBN;

void main()
{
    vec4 world = model * vec4(aPos, 1.0);
    FragPos = world.xyz;
    TexCoords = aTexCoords;
#ifdef FAST_DRAWING
    // The terrain's model matrix only translates: its normal matrix is its upper 3 x 3,
    // with no inverse to take per vertex.
    mat3 normalMatrix = mat3(model);
#else
    mat3 normalMatrix = mat3(transpose(inverse(model)));
#endif
    vec3 n = normalize(normalMatrix * aNormal);
    vec3 t = normalMatrix * aTangent;
    t = length(t) > 0.0 ? normalize(t - dot(t, n) * n) : vec3(1.0, 0.0, 0.0);
    TBN = mat3(t, cross(n, t), n);
    gl_Position = projection * view * world;
}
