#include "settings/StartTask.h"

#include "registry/ComApartment.h"
#include "registry/OperationLog.h"
#include "registry/UniqueHandle.h"
#include "settings/StartTaskXml.h"

#include <windows.h>
#include <oleauto.h>
#include <taskschd.h>

#include <cstdio>

namespace {

template <typename Interface>
struct ComTraits {
    using Handle = Interface*;
    static Handle Invalid() noexcept { return nullptr; }
    static void Close(Handle h) noexcept { h->Release(); }
};
template <typename Interface>
using ComOwner = UniqueHandle<ComTraits<Interface>>;

struct BstrTraits {
    using Handle = BSTR;
    static Handle Invalid() noexcept { return nullptr; }
    static void Close(Handle h) noexcept { SysFreeString(h); }
};
using UniqueBstr = UniqueHandle<BstrTraits>;

UniqueBstr WideText(const std::string& text)
{
    const int length = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    UniqueBstr wide(SysAllocStringLen(nullptr, static_cast<UINT>(length)));
    if (wide && length > 0) {
        MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.get(), length);
    }
    return wide;
}

std::string EscapedForXml(const std::string& text)
{
    std::string escaped;
    for (const char c : text) {
        switch (c) {
        case '&': escaped += "&amp;"; break;
        case '<': escaped += "&lt;"; break;
        case '>': escaped += "&gt;"; break;
        case '"': escaped += "&quot;"; break;
        case '\'': escaped += "&apos;"; break;
        default: escaped += c;
        }
    }
    return escaped;
}

void Fill(std::string& xml, const std::string& field, const std::string& text)
{
    for (size_t at = xml.find(field); at != std::string::npos; at = xml.find(field, at + text.size())) {
        xml.replace(at, field.size(), text);
    }
}

// "<what> failed (0x80070005: Access is denied.)"
std::string Reason(const char* what, HRESULT result)
{
    char code[16] = {};
    std::snprintf(code, sizeof code, "0x%08lX", static_cast<unsigned long>(result));
    std::string reason = std::string(what) + " failed (" + code;
    char* message = nullptr;
    if (FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, static_cast<DWORD>(result), 0, reinterpret_cast<char*>(&message), 0, nullptr) &&
        message) {
        std::string text(message);
        LocalFree(message);
        text.erase(text.find_last_not_of(" \r\n") + 1);
        reason += ": " + text;
    }
    return reason + ")";
}

// The Task Scheduler's root folder, or why it cannot be reached. COM must stay initialised while it is used.
struct RootFolder {
    ComOwner<ITaskFolder> folder;
    std::string reason;
};

RootFolder OpenRootFolder()
{
    RootFolder root;
    ComOwner<ITaskService> service;
    HRESULT result = CoCreateInstance(CLSID_TaskScheduler, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskService,
                                      reinterpret_cast<void**>(service.put()));
    if (SUCCEEDED(result)) {
        VARIANT none;
        VariantInit(&none);
        result = service.get()->Connect(none, none, none, none);
    }
    if (FAILED(result)) {
        root.reason = Reason("Connecting to the Task Scheduler", result);
        return root;
    }
    const UniqueBstr path = WideText("\\");
    result = service.get()->GetFolder(path.get(), root.folder.put());
    if (FAILED(result)) {
        root.reason = Reason("Opening the Task Scheduler's root folder", result);
    }
    return root;
}

}  // namespace

const StartTask& LogonScanTask()
{
    static const StartTask task{LogonScanTaskName, "/scanstartup"};
    return task;
}

const StartTask& RebootScanTask()
{
    static const StartTask task{RebootScanTaskName, "/scannow"};
    return task;
}

std::string StartTaskXml(const StartTask& task, const std::string& programPath)
{
    const size_t slash = programPath.rfind('\\');
    std::string xml = StartTaskTemplate;
    Fill(xml, "@COMMAND@", EscapedForXml(programPath));
    Fill(xml, "@ARGUMENTS@", EscapedForXml(task.switchText));
    // Started in the program's folder, where Corvadin.ini is read and rollback files go, as from its shortcut.
    Fill(xml, "@FOLDER@", EscapedForXml(programPath.substr(0, slash == std::string::npos ? 0 : slash)));
    return xml;
}

TaskOutcome CreateStartTask(const StartTask& task, const std::string& programPath)
{
    const ComApartment com;
    const RootFolder root = OpenRootFolder();
    if (!root.folder) {
        return {false, root.reason};
    }
    const UniqueBstr name = WideText(task.name);
    const UniqueBstr xml = WideText(StartTaskXml(task, programPath));
    VARIANT none;
    VariantInit(&none);
    ComOwner<IRegisteredTask> registered;
    const HRESULT result = root.folder.get()->RegisterTask(name.get(), xml.get(), TASK_CREATE_OR_UPDATE, none, none,
                                                           TASK_LOGON_GROUP, none, registered.put());
    if (FAILED(result)) {
        return {false, Reason("Registering the task", result)};
    }
    return {true, {}};
}

TaskOutcome RemoveStartTask(const StartTask& task)
{
    const ComApartment com;
    const RootFolder root = OpenRootFolder();
    if (!root.folder) {
        return {false, root.reason};
    }
    const UniqueBstr name = WideText(task.name);
    const HRESULT result = root.folder.get()->DeleteTask(name.get(), 0);
    if (FAILED(result) && result != HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND)) {
        return {false, Reason("Removing the task", result)};
    }
    return {true, {}};
}

bool StartTaskExists(const StartTask& task)
{
    const ComApartment com;
    const RootFolder root = OpenRootFolder();
    const UniqueBstr name = WideText(task.name);
    ComOwner<IRegisteredTask> registered;
    return root.folder && SUCCEEDED(root.folder.get()->GetTask(name.get(), registered.put()));
}

bool LogTaskOutcome(const TaskOutcome& outcome, const StartTask& task, const std::string& consequence)
{
    if (!outcome.done) {
        OperationLog::Write("The task \"" + std::string(task.name) + "\" could not be changed: " + outcome.reason +
                            "; " + consequence);
    }
    return outcome.done;
}
