#version 330 core
in vec2 TexCoords;
out vec4 FragColor;

uniform sampler2D meshTexture;

void main()
{
    vec4 colour = texture(meshTexture, TexCoords);
    if (colour.a < 0.05)
        discard;
    FragColor = colour;
}
