#version 330 core
in vec3 FragPos;
in vec3 Normal;
in vec2 TexCoords;
out vec4 FragColor;

struct Spotlight {
    vec3 position;
    vec3 direction;
    vec3 diffuse;
    vec3 specular;
    float constant;
    float linear;
    float quadratic;
    float cutOff;       // cosine
    float outerCutOff;  // cosine
};

uniform sampler2D meshTexture;
uniform Spotlight spotlight;
uniform vec3 lightPos;
uniform vec3 viewPos;
uniform vec3 ambientLight;
uniform bool damaged;
uniform vec3 colorize_model;  // the enemy models' hit tint; zero for everything else
uniform bool nightFog;
// OPAQUE_TEXELS: the default drawing's program for textures whose every texel is fully
// opaque, where the discard below could never fire; without it the depth test runs first.

// The flashlight's share. With no spotlight set every term is zero and so is the light.
vec3 flashlight(vec3 normal, vec3 viewDir, vec3 albedo)
{
    vec3 toLight = spotlight.position - FragPos;
    float distance = length(toLight);
    vec3 lightDir = toLight / max(distance, 0.0001);
    vec3 axis = length(spotlight.direction) > 0.0 ? normalize(-spotlight.direction) : vec3(0.0);
    float theta = dot(lightDir, axis);
    float softness = max(spotlight.cutOff - spotlight.outerCutOff, 0.0001);
    float cone = clamp((theta - spotlight.outerCutOff) / softness, 0.0, 1.0);
    float attenuation = 1.0 / max(spotlight.constant + spotlight.linear * distance +
                                  spotlight.quadratic * distance * distance, 0.0001);
    float diffuse = max(dot(normal, lightDir), 0.0);
    float specular = pow(max(dot(viewDir, reflect(-lightDir, normal)), 0.0), 24.0);
    return (spotlight.diffuse * diffuse * albedo + spotlight.specular * specular * 0.25) * cone * attenuation;
}

void main()
{
    vec4 texel = texture(meshTexture, TexCoords);
#ifndef OPAQUE_TEXELS
    if (texel.a < 0.1)
        discard;
#endif
    vec3 normal = normalize(Normal);
    vec3 viewDir = normalize(viewPos - FragPos);
    // Quads are seen from both sides: light the side that faces the viewer.
    if (dot(normal, viewDir) < 0.0)
        normal = -normal;

    vec3 colour = ambientLight * 0.6 * texel.rgb + flashlight(normal, viewDir, texel.rgb);
    if (damaged)
        colour = mix(colour, vec3(1.0, 0.1, 0.05), 0.5);
    colour += colorize_model;

    if (nightFog) {
        float distance = length(viewPos - FragPos);
        float visibility = exp(-pow(distance * 0.0022, 2.0));
        vec3 fogColour = ambientLight * 0.25;
        colour = mix(fogColour, colour, clamp(visibility, 0.0, 1.0));
    }
    FragColor = vec4(colour, texel.a);
}
