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
    float cutOff;
    float outerCutOff;
};

uniform sampler2D texture_diffuse1;
uniform sampler2D texture_specular1;
uniform Spotlight spotlight;
uniform bool EnableSpotlight;
uniform vec3 lightPos;
uniform vec3 viewPos;
uniform vec3 ambientLight;
uniform vec3 colorize_model;
uniform bool nightFog;

#ifdef FAST_DRAWING
const float kFogOpaqueDistance = 1350.0;  // see TerrainFragmentShader.fs
#endif

void main()
{
#ifdef FAST_DRAWING
    // The models' textures are uploaded without alpha (every texel's is 1), so the
    // reference's discard never fires; without it the depth test can run first.
    if (nightFog && length(viewPos - FragPos) > kFogOpaqueDistance) {
        FragColor = vec4(ambientLight * 0.25, 1.0);
        return;
    }
    vec4 texel = texture(texture_diffuse1, TexCoords);
#else
    vec4 texel = texture(texture_diffuse1, TexCoords);
    if (texel.a < 0.1)
        discard;
#endif
    vec3 albedo = texel.rgb;
    vec3 normal = normalize(Normal);
    vec3 viewDir = normalize(viewPos - FragPos);

    // A soft key light just above the viewer keeps models readable in the dark.
    vec3 keyDir = normalize(lightPos - FragPos);
    float key = max(dot(normal, keyDir), 0.0);
    vec3 colour = ambientLight * 0.6 * albedo + albedo * key * 0.25;

    if (EnableSpotlight) {
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
        float shine = texture(texture_specular1, TexCoords).r;
        float specular = pow(max(dot(viewDir, reflect(-lightDir, normal)), 0.0), 32.0) * shine;
        colour += (spotlight.diffuse * diffuse * albedo + spotlight.specular * specular) * cone * attenuation;
    }
    colour += colorize_model;

    if (nightFog) {
        float distance = length(viewPos - FragPos);
        float visibility = exp(-pow(distance * 0.0022, 2.0));
        colour = mix(ambientLight * 0.25, colour, clamp(visibility, 0.0, 1.0));
    }
    FragColor = vec4(colour, texel.a);
}
