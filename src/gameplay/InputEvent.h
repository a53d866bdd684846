#pragma once
// The input of one frame as the rules see it: a small event record translated from
// the window system's events at the edge (the game) or read from a script (the sim
// and the test aids), so that the rules never include a window-system header.
#include <cstdint>
#include <vector>

// FocusLost: the window lost the keyboard focus or was minimised (the player went to
// another window); play pauses until a click.
enum class InputType : uint8_t { KeyDown, KeyUp, MouseMotion, ButtonDown, ButtonUp, Quit, FocusLost };

// The keys the game reacts to, named by the key of a US keyboard that gives them by
// default; everything else arrives as Unknown. W ... M are actions the player may move
// to other keys (the game reads keys by their position, whatever the layout); F1 ...
// Return are fixed. Up, Down, Tab and Return serve the menus.
enum class Key : uint8_t { Unknown, W, A, S, D, Space, LShift, Q, F, N, M, F1, F8, F12, Escape, Up, Down, Tab, Return };

enum class MouseButton : uint8_t { None, Left, Right };

struct InputEvent {
    InputType type = InputType::Quit;
    Key key = Key::Unknown;                     // KeyDown / KeyUp
    MouseButton button = MouseButton::None;     // ButtonDown / ButtonUp
    int32_t x = 0;                              // MouseMotion: pointer position in window pixels,
    int32_t y = 0;                              // not clamped to the window while the mouse is captured

    static InputEvent keyDown(Key k) { return {InputType::KeyDown, k, MouseButton::None, 0, 0}; }
    static InputEvent keyUp(Key k) { return {InputType::KeyUp, k, MouseButton::None, 0, 0}; }
    static InputEvent motion(int32_t px, int32_t py) { return {InputType::MouseMotion, Key::Unknown, MouseButton::None, px, py}; }
    static InputEvent buttonDown(MouseButton b) { return {InputType::ButtonDown, Key::Unknown, b, 0, 0}; }
    static InputEvent buttonUp(MouseButton b) { return {InputType::ButtonUp, Key::Unknown, b, 0, 0}; }
    static InputEvent quit() { return {}; }
    static InputEvent focusLost() { return {InputType::FocusLost, Key::Unknown, MouseButton::None, 0, 0}; }
};

using InputEvents = std::vector<InputEvent>;
