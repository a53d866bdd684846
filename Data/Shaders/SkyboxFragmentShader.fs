#version 330 core
in vec3 Direction;
out vec4 FragColor;

uniform samplerCube skybox;

void main()
{
    FragColor = vec4(texture(skybox, Direction).rgb, 1.0);
}
