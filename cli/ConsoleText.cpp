#include "cli/ConsoleText.h"

#include <windows.h>

#include <algorithm>
#include <vector>

std::string JsonString(const std::string& text)
{
    std::string utf8;
    if (!text.empty()) {
        const int wideLength = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
        std::vector<wchar_t> wide(wideLength);
        MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), wideLength);
        const int length = WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideLength, nullptr, 0, nullptr, nullptr);
        utf8.resize(length);
        WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideLength, utf8.data(), length, nullptr, nullptr);
    }
    std::string json = "\"";
    for (const char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            json += '\\';
            json += c;
        } else if (byte < 0x20) {
            char escaped[8];
            snprintf(escaped, sizeof escaped, "\\u%04x", byte);
            json += escaped;
        } else {
            json += c;
        }
    }
    return json + "\"";
}

void ConsoleProgress::SetLabel(const std::string& label)
{
    label_ = label;
    range_ = 0;
    position_ = 0;
    Show(true);
}

void ConsoleProgress::Clear()
{
    if (enabled_ && shown_) {
        fprintf(stderr, "\r%-70s\r", "");
        fflush(stderr);
        shown_ = false;
    }
}

int ConsoleProgress::Step(int delta)
{
    position_ += delta;
    Show(false);
    return position_;
}

void ConsoleProgress::SetPosition(int p)
{
    position_ = p;
    Show(false);
}

void ConsoleProgress::Show(bool force)
{
    if (!enabled_) {
        return;
    }
    const auto now = std::chrono::steady_clock::now();
    if (!force && now - lastShown_ < std::chrono::milliseconds(200)) {
        return;
    }
    lastShown_ = now;
    const int percent = range_ > 0 ? std::clamp(position_ * 100 / range_, 0, 100) : 0;
    fprintf(stderr, "\r%-60.60s %3d%%", label_.c_str(), percent);
    fflush(stderr);
    shown_ = true;
}
