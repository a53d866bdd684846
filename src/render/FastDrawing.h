#pragma once
// What the default drawing may leave out or simplify against the reference drawing
// (--reference-drawing), chosen so that the pictures agree; the picture tests hold
// the two together.
//
// Every world shader fogs with visibility exp(-(0.0022 d)^2) towards one colour (a
// quarter of the sky light's colour). Beyond kFogOpaqueDistance the visibility is
// below 1/6000, so whatever lies there is drawn as that colour to well under half an
// 8-bit step: the shaders return it without lighting, and an object wholly beyond it
// is drawn as nothing (the ground behind it, as far or farther, shows the same colour;
// only against the sky could its outline differ).
namespace fastDrawing {

constexpr float kFogOpaqueDistance = 1350.0f;  // the shaders' constant of the same name
// The terrain's levels of detail may move the ground by at most this many pixels.
constexpr float kTerrainErrorPixels = 0.75f;

}  // namespace fastDrawing
