// Reads a DIALOGEX template from the program's resources into plain values, so tests can check what the
// resource compiler produced without creating a window.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

struct TemplateControl {
    DWORD id = 0;
    DWORD style = 0;
    DWORD exStyle = 0;
    RECT box{};               // dialog units: left, top, right, bottom
    std::string className;    // "Button", "Edit", "Static", "ListBox", "ScrollBar", "ComboBox" or the class name
    std::string text;         // ANSI (code page 1252); "#<n>" for a resource ordinal
};

struct DialogTemplate {
    DWORD style = 0;
    DWORD exStyle = 0;
    SIZE size{};              // dialog units
    int menu = 0;             // menu resource ordinal, 0 for none
    std::string caption;
    int fontPoints = 0;
    std::string fontName;
    std::vector<TemplateControl> controls;

    // Every control with this id, in template order.
    std::vector<const TemplateControl*> WithId(DWORD id) const;
    // The one control with this id; nullopt when there is none or more than one.
    std::optional<TemplateControl> Control(DWORD id) const;
};

// nullopt when the template is missing or is not a well-formed DIALOGEX template.
std::optional<DialogTemplate> LoadDialogTemplate(HMODULE module, int id);
