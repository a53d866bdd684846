#pragma once
// The two things the menus ask of the desktop: a modal yes/no question and opening a
// web page. Both sit behind small interfaces so that a test can answer the question
// and see the page requests.
#include <memory>
#include <string>

#include "gameplay/GameServices.h"

// A modal question with the answers Yes and No. Caption and text are Windows-1252.
class ConfirmDialog {
public:
    virtual ~ConfirmDialog() = default;
    virtual DialogAnswer askYesNo(const std::string& caption, const std::string& text) = 0;
};

class WebPageOpener {
public:
    virtual ~WebPageOpener() = default;
    // Failures are not reported.
    virtual void open(const std::string& url) = 0;
};

// SDL's message box, not owned by any window.
std::unique_ptr<ConfirmDialog> makeSdlConfirmDialog();
// The desktop's default browser through SDL.
std::unique_ptr<WebPageOpener> makeSdlWebPageOpener();
