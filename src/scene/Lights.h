#pragma once
// The three light records of the scene: the sky, one point light and the player's
// flashlight. Plain data: the start-up step fills them, the game update changes them,
// the draws read them.
#include <glm/glm.hpp>

struct DirectionalLight {
    glm::vec3 direction{0.0f};
    glm::vec3 ambient{0.0f};
    glm::vec3 diffuse{0.0f};
    glm::vec3 specular{0.0f};
    glm::vec3 lightColour{0.0f};

    void setColours(glm::vec3 ambientColour, glm::vec3 diffuseColour, glm::vec3 specularColour) {
        ambient = ambientColour;
        diffuse = diffuseColour;
        specular = specularColour;
    }
};

struct PointLight {
    glm::vec3 position{0.0f};
    glm::vec3 ambient{0.0f};
    glm::vec3 diffuse{0.0f};
    glm::vec3 specular{0.0f};
    glm::vec3 lightColour{0.0f};
    float constant = 0.0f;
    float linear = 0.0f;
    float quadratic = 0.0f;

    void setProperties(glm::vec3 ambientColour, glm::vec3 diffuseColour, glm::vec3 specularColour, float constantTerm,
                       float linearTerm, float quadraticTerm) {
        ambient = ambientColour;
        diffuse = diffuseColour;
        specular = specularColour;
        constant = constantTerm;
        linear = linearTerm;
        quadratic = quadraticTerm;
    }
};

// Cut-off angles are kept in degrees; the draws send their cosines.
struct Spotlight {
    glm::vec3 position{0.0f};
    glm::vec3 direction{0.0f};
    glm::vec3 diffuse{0.0f};
    glm::vec3 specular{0.0f};
    float cutOff = 0.0f;
    float outerCutOff = 0.0f;
    float constant = 0.0f;
    float linear = 0.0f;
    float quadratic = 0.0f;

    void setProperties(glm::vec3 diffuseColour, glm::vec3 specularColour, float constantTerm, float linearTerm,
                       float quadraticTerm, float cutOffDegrees, float outerCutOffDegrees) {
        diffuse = diffuseColour;
        specular = specularColour;
        constant = constantTerm;
        linear = linearTerm;
        quadratic = quadraticTerm;
        cutOff = cutOffDegrees;
        outerCutOff = outerCutOffDegrees;
    }
};
