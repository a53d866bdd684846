#version 330 core
in vec2 TexCoords;
out vec4 FragColor;

uniform sampler2D text;  // the glyph's coverage in the red channel
uniform vec3 textColor;

void main()
{
    FragColor = vec4(textColor, texture(text, TexCoords).r);
}
