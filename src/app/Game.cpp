// Placeholder until the game object lands.
