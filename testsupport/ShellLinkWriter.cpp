#include "testsupport/ShellLinkWriter.h"

#include "registry/UniqueHandle.h"

#include <windows.h>

#include <cstdint>
#include <string>

namespace {

class ByteWriter {
public:
    void U16(uint16_t value) { Bytes(&value, sizeof value); }
    void U32(uint32_t value) { Bytes(&value, sizeof value); }
    void Zeros(size_t count) { bytes_.append(count, '\0'); }
    void Text(const std::string& text)
    {
        bytes_ += text;
        bytes_ += '\0';
    }
    void Bytes(const void* data, size_t size) { bytes_.append(static_cast<const char*>(data), size); }
    const std::string& Data() const { return bytes_; }

private:
    std::string bytes_;
};

// {00021401-0000-0000-C000-000000000046}, the shell-link class, in its stored byte order.
const unsigned char ShellLinkClass[16] = {0x01, 0x14, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00,
                                          0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};

constexpr uint32_t HeaderSize = 0x4C;
constexpr uint32_t HasLinkInfo = 0x02;
constexpr uint32_t VolumeIdAndLocalBasePath = 0x01;
constexpr uint32_t LinkInfoHeaderSize = 0x1C;
constexpr uint32_t VolumeIdSize = 0x11;  // four fields and an empty label

}  // namespace

bool WriteShellLink(const std::string& linkPath, const std::string& targetPath)
{
    if (targetPath.empty() || targetPath.size() >= MAX_PATH) {
        return false;
    }
    ByteWriter link;
    link.U32(HeaderSize);
    link.Bytes(ShellLinkClass, sizeof ShellLinkClass);
    link.U32(HasLinkInfo);
    link.U32(FILE_ATTRIBUTE_ARCHIVE);
    link.Zeros(3 * 8);  // creation, access and write times
    link.U32(0);        // target size
    link.U32(0);        // icon index
    link.U32(SW_SHOWNORMAL);
    link.U16(0);  // hot key
    link.Zeros(2 + 4 + 4);

    const uint32_t localPathOffset = LinkInfoHeaderSize + VolumeIdSize;
    const uint32_t suffixOffset = localPathOffset + static_cast<uint32_t>(targetPath.size()) + 1;
    const uint32_t linkInfoSize = suffixOffset + 1;
    link.U32(linkInfoSize);
    link.U32(LinkInfoHeaderSize);
    link.U32(VolumeIdAndLocalBasePath);
    link.U32(LinkInfoHeaderSize);  // the volume id follows the header
    link.U32(localPathOffset);
    link.U32(0);  // no network location
    link.U32(suffixOffset);
    link.U32(VolumeIdSize);
    link.U32(DRIVE_FIXED);
    link.U32(0);     // serial number
    link.U32(0x10);  // the label follows the four fields
    link.Text("");
    link.Text(targetPath);
    link.Text("");  // common path suffix
    link.U32(0);    // no extra data blocks

    const UniqueFileHandle file(
        CreateFileA(linkPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        return false;
    }
    DWORD written = 0;
    const std::string& data = link.Data();
    return WriteFile(file.get(), data.data(), static_cast<DWORD>(data.size()), &written, nullptr) &&
           written == data.size();
}
