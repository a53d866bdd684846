#include <SDL.h>

#include <cstdio>

#include "app/Desktop.h"
#include "util/Windows1252.h"

namespace {

class SdlConfirmDialog final : public ConfirmDialog {
public:
    DialogAnswer askYesNo(const std::string& caption, const std::string& text) override {
        enum { kYes = 1, kNo = 2 };
        const std::string utf8Caption = windows1252ToUtf8(caption);
        const std::string utf8Text = windows1252ToUtf8(text);
        // Return answers Yes (the default button), Escape answers No.
        const SDL_MessageBoxButtonData buttons[] = {
            {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, kYes, "S\xC3\xAD"},
            {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, kNo, "No"},
        };
        SDL_MessageBoxData data{};
        data.flags = SDL_MESSAGEBOX_INFORMATION | SDL_MESSAGEBOX_BUTTONS_LEFT_TO_RIGHT;
        data.window = nullptr;
        data.title = utf8Caption.c_str();
        data.message = utf8Text.c_str();
        data.numbuttons = SDL_arraysize(buttons);
        data.buttons = buttons;
        int answer = -1;
        if (SDL_ShowMessageBox(&data, &answer) != 0) {
            std::fprintf(stderr, "ERROR: Unable to show the message box, error: %s\n", SDL_GetError());
            return DialogAnswer::None;
        }
        return answer == kYes ? DialogAnswer::Yes : answer == kNo ? DialogAnswer::No : DialogAnswer::None;
    }
};

class SdlWebPageOpener final : public WebPageOpener {
public:
    void open(const std::string& url) override { SDL_OpenURL(url.c_str()); }
};

}  // namespace

std::unique_ptr<ConfirmDialog> makeSdlConfirmDialog() { return std::make_unique<SdlConfirmDialog>(); }

std::unique_ptr<WebPageOpener> makeSdlWebPageOpener() { return std::make_unique<SdlWebPageOpener>(); }
