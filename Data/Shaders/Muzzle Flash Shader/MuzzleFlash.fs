#version 330 core
in vec2 TexCoords;
out vec4 FragColor;

uniform sampler2D flashTexture;

void main()
{
    vec4 colour = texture(flashTexture, TexCoords);
    if (colour.a < 0.05)
        discard;
    // The flash is a light source: a little over-bright and unlit.
    FragColor = vec4(min(colour.rgb * 1.3, vec3(1.0)), colour.a);
}
