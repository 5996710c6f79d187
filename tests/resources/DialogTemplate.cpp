// DIALOGEX template reader for the resource tests.
#include "tests/resources/DialogTemplate.h"

#include <cstdint>
#include <cstring>

namespace {

// Walks the template bytes, refusing to read past their end.
class Reader {
public:
    Reader(const BYTE* data, size_t size) : data_(data), size_(size) {}

    bool Ok() const { return ok_; }
    void AlignDword() { pos_ = (pos_ + 3) & ~size_t{3}; }

    template <typename T>
    T Read()
    {
        T value{};
        if (pos_ + sizeof(T) > size_) {
            ok_ = false;
            return value;
        }
        std::memcpy(&value, data_ + pos_, sizeof(T));
        pos_ += sizeof(T);
        return value;
    }

    std::string ReadWideText()
    {
        std::wstring wide;
        for (WCHAR c = Read<WCHAR>(); ok_ && c != 0; c = Read<WCHAR>()) {
            wide.push_back(c);
        }
        return Narrow(wide);
    }

    // sz_Or_Ord: empty, an ordinal ("#<n>") or a text.
    std::string ReadNameOrOrdinal(int* ordinal = nullptr)
    {
        const WCHAR first = Read<WCHAR>();
        if (first == 0) {
            return {};
        }
        if (first == 0xFFFF) {
            const WORD value = Read<WORD>();
            if (ordinal) {
                *ordinal = value;
            }
            return "#" + std::to_string(value);
        }
        pos_ -= sizeof(WCHAR);
        return ReadWideText();
    }

    void Skip(size_t count)
    {
        if (pos_ + count > size_) {
            ok_ = false;
            return;
        }
        pos_ += count;
    }

private:
    static std::string Narrow(const std::wstring& wide)
    {
        if (wide.empty()) {
            return {};
        }
        const int length = WideCharToMultiByte(1252, 0, wide.c_str(), static_cast<int>(wide.size()), nullptr, 0,
                                               nullptr, nullptr);
        std::string text(static_cast<size_t>(length), '\0');
        WideCharToMultiByte(1252, 0, wide.c_str(), static_cast<int>(wide.size()), text.data(), length, nullptr,
                            nullptr);
        return text;
    }

    const BYTE* data_;
    size_t size_;
    size_t pos_ = 0;
    bool ok_ = true;
};

// Ordinals and the resource compiler's upper-cased names both become the class's usual spelling.
std::string PredefinedClass(const std::string& name)
{
    static const char* const names[] = {"Button", "Edit", "Static", "ListBox", "ScrollBar", "ComboBox"};
    if (name.size() > 1 && name[0] == '#') {
        const int ordinal = std::stoi(name.substr(1));
        if (ordinal >= 0x80 && ordinal <= 0x85) {
            return names[ordinal - 0x80];
        }
    }
    for (const char* known : names) {
        if (lstrcmpiA(known, name.c_str()) == 0) {
            return known;
        }
    }
    return name;
}

bool ReadControl(Reader& in, TemplateControl& control)
{
    in.AlignDword();
    in.Read<DWORD>();  // help id
    control.exStyle = in.Read<DWORD>();
    control.style = in.Read<DWORD>();
    const short x = in.Read<short>(), y = in.Read<short>(), cx = in.Read<short>(), cy = in.Read<short>();
    control.box = {x, y, x + cx, y + cy};
    control.id = in.Read<DWORD>();
    control.className = PredefinedClass(in.ReadNameOrOrdinal());
    control.text = in.ReadNameOrOrdinal();
    in.Skip(in.Read<WORD>());  // creation data
    return in.Ok();
}

}  // namespace

std::vector<const TemplateControl*> DialogTemplate::WithId(DWORD id) const
{
    std::vector<const TemplateControl*> found;
    for (const TemplateControl& control : controls) {
        if (control.id == id) {
            found.push_back(&control);
        }
    }
    return found;
}

std::optional<TemplateControl> DialogTemplate::Control(DWORD id) const
{
    const auto found = WithId(id);
    if (found.size() != 1) {
        return std::nullopt;
    }
    return *found.front();
}

std::optional<DialogTemplate> LoadDialogTemplate(HMODULE module, int id)
{
    HRSRC resource = FindResourceA(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(5) /* RT_DIALOG */);
    if (!resource) {
        return std::nullopt;
    }
    HGLOBAL loaded = LoadResource(module, resource);
    const auto* data = static_cast<const BYTE*>(LockResource(loaded));
    const DWORD size = SizeofResource(module, resource);
    if (!data) {
        return std::nullopt;
    }
    Reader in(data, size);
    if (in.Read<WORD>() != 1 || in.Read<WORD>() != 0xFFFF) {
        return std::nullopt;  // not DIALOGEX
    }
    DialogTemplate dialog;
    in.Read<DWORD>();  // help id
    dialog.exStyle = in.Read<DWORD>();
    dialog.style = in.Read<DWORD>();
    const WORD count = in.Read<WORD>();
    in.Read<short>();
    in.Read<short>();
    dialog.size.cx = in.Read<short>();
    dialog.size.cy = in.Read<short>();
    in.ReadNameOrOrdinal(&dialog.menu);
    in.ReadNameOrOrdinal();  // window class
    dialog.caption = in.ReadWideText();
    if (dialog.style & (DS_SETFONT | DS_SHELLFONT)) {
        dialog.fontPoints = in.Read<WORD>();
        in.Read<WORD>();  // weight
        in.Read<BYTE>();  // italic
        in.Read<BYTE>();  // character set
        dialog.fontName = in.ReadWideText();
    }
    for (WORD i = 0; i < count && in.Ok(); ++i) {
        TemplateControl control;
        if (ReadControl(in, control)) {
            dialog.controls.push_back(control);
        }
    }
    if (!in.Ok()) {
        return std::nullopt;
    }
    return dialog;
}
