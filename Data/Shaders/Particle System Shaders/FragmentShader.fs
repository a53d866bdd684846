#version 330 core
in vec2 TexCoords;
out vec4 FragColor;

uniform sampler2D sprite;

void main()
{
    vec4 texel = texture(sprite, TexCoords);
    if (texel.a < 0.05)
        discard;
    FragColor = texel;
}
