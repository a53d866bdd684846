#version 330 core
in vec2 TexCoords;
out vec4 FragColor;

uniform sampler2D screenTexture;
uniform bool thunderstormEffect;  // one frame of lightning
uniform bool grayScaleEffect;     // the player is nearly dead

void main()
{
    vec3 colour = texture(screenTexture, TexCoords).rgb;
    if (grayScaleEffect) {
        float luminance = dot(colour, vec3(0.2126, 0.7152, 0.0722));
        // Drained of colour and closing in from the edges.
        float edge = smoothstep(0.45, 0.95, length(TexCoords - vec2(0.5)) * 1.4142);
        colour = vec3(luminance * mix(1.0, 0.45, edge));
    }
    if (thunderstormEffect) {
        // A cold white flash that washes out the whole frame.
        colour = colour * 1.6 + vec3(0.38, 0.40, 0.48);
    }
    FragColor = vec4(clamp(colour, 0.0, 1.0), 1.0);
}
