#version 330 core
in vec2 TexCoords;
in vec3 ViewNormal;
out vec4 FragColor;

uniform sampler2D clothTexture;

void main()
{
    vec4 texel = texture(clothTexture, TexCoords);
    // Both sides of the cloth are seen: shade by how squarely a fold faces the viewer,
    // so the ripples read as light and shadow.
    vec3 n = length(ViewNormal) > 0.0 ? normalize(ViewNormal) : vec3(0.0, 0.0, 1.0);
    float facing = abs(dot(n, vec3(0.0, 0.0, 1.0)));
    FragColor = vec4(texel.rgb * (0.45 + 0.55 * facing), texel.a);
}
