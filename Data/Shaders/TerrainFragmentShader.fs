#version 330 core
in vec3 FragPos;
in vec2 TexCoords;
in mat3 TBN;
out vec4 FragColor;

struct DirLight {
    vec3 direction;
    vec3 ambient;
    vec3 diffuse;
    vec3 specular;
    vec3 lightColour;
};

struct PointLight {
    vec3 position;
    vec3 ambient;
    vec3 diffuse;
    vec3 specular;
    vec3 lightColour;
    float constant;
    float linear;
    float quadratic;
};

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

uniform sampler2D meshTexture;  // background ground, where the blend map is black
uniform sampler2D rTexture;
uniform sampler2D gTexture;
uniform sampler2D bTexture;
uniform sampler2D blendMap;     // stretched once over the whole terrain
uniform sampler2D grassNormalMap;
uniform DirLight dirLight;
uniform PointLight pointLight;
uniform Spotlight spotlight;
uniform vec3 viewPos;
uniform bool fogActive;

const float kTiling = 96.0;

#ifdef FAST_DRAWING
// Beyond this distance exp(-(0.0022 d)^2) is below 1/6000: the fogged colour equals the
// fog's to well under half an 8-bit step, however bright the lights make the ground.
const float kFogOpaqueDistance = 1350.0;
// Beyond this one it is below 1/32: a texel's departure from its texture's mean colour
// shows at a thirty-second of its weight, under two 8-bit steps at the very worst, so
// the four ground textures and the relief are not read there.
const float kFogDeepDistance = 850.0;
uniform vec3 meanColours[4];  // meshTexture, rTexture, gTexture, bTexture
// A light whose share cannot reach a quarter of an 8-bit step is left out.
const float kNegligible = 0.25 / 255.0;
#endif

void main()
{
#ifdef FAST_DRAWING
    float eyeDistance = length(viewPos - FragPos);
    if (fogActive && eyeDistance > kFogOpaqueDistance) {
        FragColor = vec4(dirLight.lightColour * 0.25, 1.0);
        return;
    }
    if (fogActive && eyeDistance > kFogDeepDistance) {
        vec4 farBlend = texture(blendMap, TexCoords);
        float farBackground = clamp(1.0 - (farBlend.r + farBlend.g + farBlend.b), 0.0, 1.0);
        vec3 farAlbedo = meanColours[0] * farBackground + meanColours[1] * farBlend.r +
                         meanColours[2] * farBlend.g + meanColours[3] * farBlend.b;
        vec3 farNormal = normalize(TBN[2]);
        vec3 farSky = length(dirLight.direction) > 0.0 ? normalize(dirLight.direction) : vec3(0.0, 1.0, 0.0);
        vec3 farColour = (dirLight.ambient + dirLight.lightColour) * farAlbedo +
                         dirLight.diffuse * max(dot(farNormal, farSky), 0.0) * farAlbedo;
        vec3 toFarPoint = pointLight.position - FragPos;
        float farPointDistance = length(toFarPoint);
        float farFade = 1.0 / max(pointLight.constant + pointLight.linear * farPointDistance +
                                  pointLight.quadratic * farPointDistance * farPointDistance, 0.0001);
        vec3 farPointDir = toFarPoint / max(farPointDistance, 0.0001);
        farColour += (pointLight.ambient + pointLight.diffuse * max(dot(farNormal, farPointDir), 0.0)) *
                     pointLight.lightColour * farAlbedo * farFade;
        float farVisibility = exp(-pow(eyeDistance * 0.0022, 2.0));
        FragColor = vec4(mix(dirLight.lightColour * 0.25, farColour, clamp(farVisibility, 0.0, 1.0)), 1.0);
        return;
    }
#endif
    vec4 blend = texture(blendMap, TexCoords);
    float background = clamp(1.0 - (blend.r + blend.g + blend.b), 0.0, 1.0);
    vec2 tiled = TexCoords * kTiling;
    vec3 albedo = texture(meshTexture, tiled).rgb * background + texture(rTexture, tiled).rgb * blend.r +
                  texture(gTexture, tiled).rgb * blend.g + texture(bTexture, tiled).rgb * blend.b;

    vec3 bumped = normalize(TBN * (texture(grassNormalMap, tiled).rgb * 2.0 - 1.0));
    vec3 normal = normalize(mix(TBN[2], bumped, blend.g));
    vec3 viewDir = normalize(viewPos - FragPos);

    // Sky
    vec3 skyDir = length(dirLight.direction) > 0.0 ? normalize(dirLight.direction) : vec3(0.0, 1.0, 0.0);
    vec3 colour = (dirLight.ambient + dirLight.lightColour) * albedo +
                  dirLight.diffuse * max(dot(normal, skyDir), 0.0) * albedo;

    // Point light
    vec3 toPoint = pointLight.position - FragPos;
    float pointDistance = length(toPoint);
    vec3 pointDir = toPoint / max(pointDistance, 0.0001);
    float pointFade = 1.0 / max(pointLight.constant + pointLight.linear * pointDistance +
                                pointLight.quadratic * pointDistance * pointDistance, 0.0001);
#ifdef FAST_DRAWING
    vec3 pointReach = (abs(pointLight.ambient) + abs(pointLight.diffuse)) * abs(pointLight.lightColour) +
                      abs(pointLight.specular) * 0.2;
    if (max(pointReach.r, max(pointReach.g, pointReach.b)) * pointFade >= kNegligible) {
#endif
    colour += (pointLight.ambient + pointLight.diffuse * max(dot(normal, pointDir), 0.0)) * pointLight.lightColour *
              albedo * pointFade;
    colour += pointLight.specular * pow(max(dot(viewDir, reflect(-pointDir, normal)), 0.0), 16.0) * pointFade * 0.2;
#ifdef FAST_DRAWING
    }
#endif

    // Flashlight
#ifdef FAST_DRAWING
    // Off, or outside its cone, it adds exactly nothing.
    if (dot(spotlight.diffuse, spotlight.diffuse) > 0.0) {
#endif
    vec3 toSpot = spotlight.position - FragPos;
    float spotDistance = length(toSpot);
    vec3 spotDir = toSpot / max(spotDistance, 0.0001);
    vec3 axis = length(spotlight.direction) > 0.0 ? normalize(-spotlight.direction) : vec3(0.0);
    float softness = max(spotlight.cutOff - spotlight.outerCutOff, 0.0001);
    float cone = clamp((dot(spotDir, axis) - spotlight.outerCutOff) / softness, 0.0, 1.0);
    float spotFade = 1.0 / max(spotlight.constant + spotlight.linear * spotDistance +
                               spotlight.quadratic * spotDistance * spotDistance, 0.0001);
    colour += spotlight.diffuse * max(dot(normal, spotDir), 0.0) * albedo * cone * spotFade;
#ifdef FAST_DRAWING
    }
#endif

    if (fogActive) {
        float distance = length(viewPos - FragPos);
        float visibility = exp(-pow(distance * 0.0022, 2.0));
        colour = mix(dirLight.lightColour * 0.25, colour, clamp(visibility, 0.0, 1.0));
    }
    FragColor = vec4(colour, 1.0);
}
