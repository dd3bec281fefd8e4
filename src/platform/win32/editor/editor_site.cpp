#include "editor_site.h"

#include "platform/win32/com_support.h"
#include "platform/win32/win32_platform.h"

namespace qta1::editor {

namespace {

// The node interfaces are asked for by their own identifiers; a COM GUID and
// the core's Guid have the same layout.
static_assert(sizeof(Guid) == sizeof(GUID));
const Guid& AsGuid(REFIID iid) { return reinterpret_cast<const Guid&>(iid); }

}  // namespace

std::optional<std::string> DiskAndClock::ReadFile(const std::string& path) {
    return ReadWholeFile(path);
}

bool DiskAndClock::ReplaceFile(const std::string& path, std::string_view bytes) {
    return ReplaceWholeFile(path, bytes);
}

bool DiskAndClock::FileWritable(const std::string& path) { return IsWritableFile(path); }

void DiskAndClock::Sleep(int ms) { ::Sleep(static_cast<DWORD>(ms > 0 ? ms : 0)); }

LocalTime DiskAndClock::Now() {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    return {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond, now.wDayOfWeek};
}

HRESULT STDMETHODCALLTYPE FileSite::QueryInterface(REFIID iid, void** out) {
    static const win32::Offered<FileSite> kOffered[] = {
        win32::Offer<IOleClientSite, FileSite>(IID_IUnknown),
        win32::Offer<IOleClientSite, FileSite>(IID_IOleClientSite),
    };
    const HRESULT own = win32::QueryOffered(this, kOffered, iid, out);
    if (own != E_NOINTERFACE) return own;
    const Guid& asked = AsGuid(iid);
    if (asked == kIidNvReader || asked == kIidNvWriter || asked == kIidFileNode) {
        return node_.QueryInterface(asked, out) == kHostOk ? S_OK : E_NOINTERFACE;
    }
    return E_NOINTERFACE;
}

}  // namespace qta1::editor
