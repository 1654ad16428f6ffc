#include "winui/launch.h"

#include <vector>

#include "winui/kernel32.h"

namespace winui {
namespace {

// Vista's extended start-up information, which the Windows XP headers do not declare.
struct StartupInfoEx {
    STARTUPINFOW info;
    void* attributes;
};
constexpr DWORD kExtendedStartupInfoPresent = 0x00080000;  // EXTENDED_STARTUPINFO_PRESENT
constexpr DWORD_PTR kHandleListAttribute = 0x00020002;     // PROC_THREAD_ATTRIBUTE_HANDLE_LIST

// An attribute list that lets a child inherit one handle and no other, where the system has
// such lists (Vista and later); elsewhere `get` is null and every inheritable handle goes along.
class InheritOnly {
public:
    explicit InheritOnly(HANDLE handle) : handle_(handle) {
        using Initialize = BOOL(WINAPI*)(void*, DWORD, DWORD, SIZE_T*);
        using Update = BOOL(WINAPI*)(void*, DWORD, DWORD_PTR, void*, SIZE_T, void*, SIZE_T*);
        const auto initialize = Kernel32Function<Initialize>("InitializeProcThreadAttributeList");
        const auto update = Kernel32Function<Update>("UpdateProcThreadAttribute");
        delete_ = Kernel32Function<void(WINAPI*)(void*)>("DeleteProcThreadAttributeList");
        SIZE_T size = 0;
        if (!initialize || !update || !delete_) return;
        initialize(nullptr, 1, 0, &size);  // fails, giving the size
        storage_.resize(size);
        if (size == 0 || !initialize(storage_.data(), 1, 0, &size)) return;
        list_ = storage_.data();
        // The list holds a pointer to the handle: handle_ lives as long as the list.
        if (!update(list_, 0, kHandleListAttribute, &handle_, sizeof handle_, nullptr, nullptr)) Reset();
    }
    ~InheritOnly() { Reset(); }
    InheritOnly(const InheritOnly&) = delete;
    InheritOnly& operator=(const InheritOnly&) = delete;
    void* get() const { return list_; }

private:
    void Reset() {
        if (list_) delete_(list_);
        list_ = nullptr;
    }
    HANDLE handle_;
    void (WINAPI* delete_)(void*) = nullptr;
    std::vector<char> storage_;
    void* list_ = nullptr;
};

}  // namespace

bool LaunchProcess(const std::wstring& application, const std::wstring& commandLine,
                   const std::wstring& directory, WORD showWindow, std::wstring* reason,
                   DWORD creationFlags, Launched* launched) {
    // The null device as the child's standard handles: a console command that asks
    // (NET stop of a service with dependants asks Y/N) then reads the end of its input,
    // where it would otherwise wait on its hidden console for a key nobody can press.
    SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
    const HANDLE null = CreateFileW(L"NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    &inheritable, OPEN_EXISTING, 0, nullptr);
    if (null == INVALID_HANDLE_VALUE) {
        if (reason) *reason = SystemErrorText(GetLastError());
        return false;
    }
    StartupInfoEx startup{};
    startup.info.cb = sizeof startup.info;
    startup.info.dwFlags = STARTF_USESHOWWINDOW | STARTF_USESTDHANDLES;
    startup.info.wShowWindow = showWindow;
    startup.info.hStdInput = startup.info.hStdOutput = startup.info.hStdError = null;
    // The null device alone is handed over: the program makes no other handle inheritable, and
    // the list keeps out those that others made so (its parent's, a DLL's).
    const InheritOnly inherit(null);
    DWORD flags = creationFlags;
    if (inherit.get()) {
        startup.info.cb = sizeof startup;
        startup.attributes = inherit.get();
        flags |= kExtendedStartupInfoPresent;
    }
    PROCESS_INFORMATION process{};
    // CreateProcessW may write into the command line: hand it a private copy.
    std::wstring writable = commandLine;
    const BOOL started = CreateProcessW(application.c_str(), writable.data(), nullptr, nullptr, TRUE, flags, nullptr,
                                        directory.c_str(), &startup.info, &process);
    const DWORD error = GetLastError();
    CloseHandle(null);
    if (!started) {
        if (reason) *reason = SystemErrorText(error);
        return false;
    }
    UniqueHandle processHandle(process.hProcess), threadHandle(process.hThread);
    if (launched) {
        launched->process = std::move(processHandle);
        launched->thread = std::move(threadHandle);
    }
    return true;
}

std::wstring SystemErrorText(DWORD error) {
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
        error, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text = length ? std::wstring(buffer, length) : std::wstring();
    if (buffer) LocalFree(buffer);
    while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L' '))
        text.pop_back();
    if (text.empty()) {
        // user32's formatter: std::to_wstring would bring in the C runtime's whole printf.
        wchar_t number[24];
        text.assign(number, static_cast<std::size_t>(wsprintfW(number, L"error %lu", error)));
    }
    return text;
}

namespace {

std::wstring FolderFrom(UINT(WINAPI* query)(LPWSTR, UINT)) {
    std::wstring path(MAX_PATH, L'\0');
    SetLastError(ERROR_SUCCESS);
    UINT length = query(path.data(), static_cast<UINT>(path.size()));
    if (length >= path.size()) {  // too small: the size it needs, with the terminating null
        path.resize(length);
        length = query(path.data(), static_cast<UINT>(path.size()));
    }
    if (length == 0 || length >= path.size()) {
        if (GetLastError() == ERROR_SUCCESS) SetLastError(ERROR_PATH_NOT_FOUND);
        return std::wstring();
    }
    path.resize(length);
    return path;
}

}  // namespace

std::wstring SystemFolder() { return FolderFrom(GetSystemDirectoryW); }

std::wstring WindowsFolder() { return FolderFrom(GetWindowsDirectoryW); }

}  // namespace winui
