// One named value of a registry key, read once into memory when it is made.
#pragma once

#include "registry/RegistryKey.h"

#include <string>
#include <vector>

class RegistryValue : public RepairTarget {
public:
    static constexpr int Unreadable = -1;

    // Reads type and data at once; an unreadable value has type and size -1. Text is read wide and kept in the
    // code page only when it survives it exactly.
    RegistryValue(std::string name, RegistryKey* key);
    // A value whose type and bytes (text wide, as the registry holds it) were read already.
    RegistryValue(std::string name, RegistryKey* key, DWORD type, const BYTE* data, DWORD size);

    const std::string& Name() const noexcept { return name_; }
    int Type() const noexcept { return type_; }
    long Size() const noexcept { return size_; }
    const std::vector<BYTE>& Data() const noexcept { return data_; }
    // False when the text, or the text with its variables expanded, holds a character the code page lacks: such a
    // value has size -1 like an unreadable one, and must be neither judged nor deleted.
    bool FitsCodePage() const noexcept { return fitsCodePage_; }
    RegistryKey* Key() const noexcept { return key_.get(); }

    // String number index of REG_SZ, REG_EXPAND_SZ (expanded as programs of the key's view see it) or REG_MULTI_SZ
    // data;
    // empty for other types, unreadable values and indexes past the end.
    std::string GetString(int index) const;

    std::string FullPath() const override;
    RegistryValue* AsRegistryValue() noexcept override { return this; }
    // Always with the root: root name, the key's parent path, its name and the value's name, each joined by a
    // backslash. Empty for a value without a key.
    std::string DisplayName() const override;
    // Gone with its key, too.
    bool IsGone() const override;
    RegistryView View() const override { return key_ ? key_->View() : RegistryView::Default; }

    // The value as one REGEDIT4 line of a rollback file (long hex data wraps onto
    // continuation lines). An unreadable value gives a comment line, never invented data.
    std::string ToExportLine() const;

    // The strings of REG_SZ, REG_EXPAND_SZ or REG_MULTI_SZ data as they are stored, unexpanded.
    std::vector<std::string> Strings() const;

private:
    void Take(DWORD type, const BYTE* data, DWORD size);
    void TakeText(const BYTE* wide, DWORD size);

    std::string name_;
    int type_ = Unreadable;
    long size_ = -1;
    std::vector<BYTE> data_;
    bool fitsCodePage_ = true;
    Ref<RegistryKey> key_;
};
