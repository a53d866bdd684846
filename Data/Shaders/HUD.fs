#version 330 core
in vec2 TexCoords;
out vec4 FragColor;

uniform sampler2D hudTexture;
// Pixels at or below this opacity are dropped entirely, depth included, so that a
// quad drawn first in the same plane does not hide what lies under its clear parts.
uniform float alpha_level;

void main()
{
    vec4 colour = texture(hudTexture, TexCoords);
    if (colour.a <= alpha_level)
        discard;
    FragColor = colour;
}
