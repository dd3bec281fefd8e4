// Dialog templates of the pages, built in memory from the page layouts (and
// the review window's frame), and the text conversions of the Windows
// platform.
#include <cstring>

#include "platform/win32/win32_platform.h"

namespace qta1 {

namespace {

// Texts are Windows-1252 on the core's side, whatever the PC's code page.
constexpr UINT kTextCodePage = 1252;

std::wstring Widen(UINT codePage, std::string_view bytes) {
    if (bytes.empty()) return {};
    const int size = static_cast<int>(bytes.size());
    const int length = MultiByteToWideChar(codePage, 0, bytes.data(), size, nullptr, 0);
    if (length <= 0) return {};
    std::wstring text(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(codePage, 0, bytes.data(), size, text.data(), length);
    return text;
}

std::string Narrow(UINT codePage, DWORD flags, std::wstring_view text) {
    if (text.empty()) return {};
    const int size = static_cast<int>(text.size());
    const int length =
        WideCharToMultiByte(codePage, flags, text.data(), size, nullptr, 0, nullptr, nullptr);
    if (length <= 0) return {};
    std::string bytes(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(codePage, flags, text.data(), size, bytes.data(), length, nullptr, nullptr);
    return bytes;
}

// Appends WORDs to a template; items start on DWORD boundaries.
class TemplateWriter {
public:
    void Word(WORD value) { words_.push_back(value); }
    void Dword(DWORD value) {
        Word(LOWORD(value));
        Word(HIWORD(value));
    }
    void Short(int16_t value) { Word(static_cast<WORD>(value)); }
    void Text(std::wstring_view text) {
        words_.insert(words_.end(), text.begin(), text.end());
        Word(0);
    }
    void AlignToDword() {
        if (words_.size() % 2 != 0) Word(0);
    }
    // Patched after the items are counted.
    size_t Mark() const { return words_.size(); }
    void Patch(size_t at, WORD value) { words_[at] = value; }

    std::vector<DWORD> Finish() {
        AlignToDword();
        std::vector<DWORD> out(words_.size() / 2);
        std::memcpy(out.data(), words_.data(), words_.size() * sizeof(WORD));
        return out;
    }

private:
    std::vector<WORD> words_;
};

// A template's header (DLGTEMPLATEEX): `style`, no items yet, the size in
// dialog units, the title, and "MS Shell Dlg" 8 (with DS_SHELLFONT, the
// system's dialog font, which dialog units scale with, as with the DPI).
// Returns the place of the item count, for a caller that adds items.
size_t WriteHeader(TemplateWriter& t, DWORD style, int16_t width, int16_t height,
                   std::wstring_view title, std::wstring_view windowClass = {}) {
    t.Word(1);       // dlgVer
    t.Word(0xFFFF);  // signature: DLGTEMPLATEEX
    t.Dword(0);      // helpID
    t.Dword(0);      // exStyle
    t.Dword(style);
    const size_t count = t.Mark();
    t.Word(0);  // cDlgItems
    t.Short(0);
    t.Short(0);
    t.Short(width);
    t.Short(height);
    t.Word(0);  // no menu
    if (windowClass.empty()) {
        t.Word(0);  // the dialog class
    } else {
        t.Text(windowClass);
    }
    t.Text(title);
    t.Word(8);  // point size
    t.Word(FW_NORMAL);
    t.Word(MAKEWORD(FALSE, DEFAULT_CHARSET));  // italic, charset
    t.Text(L"MS Shell Dlg");
    return count;
}

constexpr WORD kButtonClass = 0x0080;
constexpr WORD kEditClass = 0x0081;
constexpr WORD kStaticClass = 0x0082;

struct ItemStyle {
    WORD windowClass;
    DWORD style;
    DWORD exStyle;
};

// The alignment the layout asks of a static's or an edit box's text.
DWORD StaticAlignment(const ControlDecl& decl) {
    if ((decl.flags & kAlignRight) != 0) return SS_RIGHT;
    if ((decl.flags & kAlignCenter) != 0) return SS_CENTER;
    return SS_LEFT;
}
DWORD EditAlignment(const ControlDecl& decl) {
    if ((decl.flags & kAlignRight) != 0) return ES_RIGHT;
    if ((decl.flags & kAlignCenter) != 0) return ES_CENTER;
    return ES_LEFT;
}

// Every control that is not a radio button is a group of its own, so arrow
// keys move only within a run of radio buttons. A run opens at a radio button
// that starts a group or follows another kind of control; its first button is
// the run's tab stop, and the arrow keys choose within it.
ItemStyle StyleOf(const ControlDecl& decl, const ControlDecl* previous) {
    ItemStyle item{kButtonClass, 0, 0};
    const DWORD edit = EditAlignment(decl) | ES_AUTOHSCROLL | WS_TABSTOP | WS_GROUP;
    switch (decl.kind) {
        case ControlKind::GroupBox:
            item.style = BS_GROUPBOX | WS_GROUP;
            if ((decl.flags & kAlignCenter) != 0) item.style |= BS_CENTER;
            break;
        case ControlKind::Static:
            item = {kStaticClass, StaticAlignment(decl) | SS_NOPREFIX | WS_GROUP, 0};
            break;
        case ControlKind::Edit:
            item = {kEditClass, edit, WS_EX_CLIENTEDGE};
            break;
        case ControlKind::ReadOnlyEdit:
            item = {kEditClass, edit | ES_READONLY, WS_EX_CLIENTEDGE};
            break;
        case ControlKind::PasswordEdit:
            item = {kEditClass, edit | ES_PASSWORD, WS_EX_CLIENTEDGE};
            break;
        case ControlKind::CheckBox:
            item.style = BS_AUTOCHECKBOX | WS_TABSTOP | WS_GROUP;
            break;
        case ControlKind::RadioButton: {
            item.style = BS_AUTORADIOBUTTON;
            const bool opensRun = (decl.flags & kStartsGroup) != 0 || previous == nullptr ||
                                  previous->kind != ControlKind::RadioButton;
            if (opensRun) item.style |= WS_GROUP | WS_TABSTOP;
            break;
        }
        case ControlKind::PushButton:
            item.style = BS_PUSHBUTTON | WS_TABSTOP | WS_GROUP;
            break;
    }
    item.style |= WS_CHILD;
    if ((decl.flags & kHidden) == 0) item.style |= WS_VISIBLE;
    if ((decl.flags & kInitiallyOff) != 0) item.style |= WS_DISABLED;
    return item;
}

}  // namespace

std::wstring WidenText(std::string_view bytes) { return Widen(kTextCodePage, bytes); }

std::string NarrowText(std::wstring_view text) {
    return Narrow(kTextCodePage, WC_NO_BEST_FIT_CHARS, text);
}

std::wstring WidenPath(std::string_view utf8) { return Widen(CP_UTF8, utf8); }

std::string NarrowPath(std::wstring_view path) { return Narrow(CP_UTF8, 0, path); }

std::wstring FileDialogFilter(std::string_view pipeSeparated) {
    std::wstring filter = WidenText(pipeSeparated);
    for (wchar_t& c : filter) {
        if (c == L'|') c = L'\0';
    }
    // The list ends with an empty string: two NULs after the last pattern,
    // whether or not the text ended with "|".
    if (filter.empty() || filter.back() != L'\0') filter.push_back(L'\0');
    filter.push_back(L'\0');
    return filter;
}

std::vector<DWORD> FrameTemplate(DWORD style, int16_t width, int16_t height,
                                 std::wstring_view title, std::wstring_view windowClass) {
    TemplateWriter t;
    WriteHeader(t, style, width, height, title, windowClass);
    return t.Finish();
}

std::vector<DWORD> PageTemplate(PageId page) {
    const PageLayout& layout = LayoutOf(page);
    TemplateWriter t;
    // The sheet turns this into a child page. The item count is patched below.
    const size_t count = WriteHeader(t, DS_SHELLFONT | WS_CHILD | WS_DISABLED | WS_CAPTION,
                                     kPageWidthDlu, kPageHeightDlu, WidenText(layout.caption));

    WORD items = 0;
    const ControlDecl* previous = nullptr;
    for (const ControlDecl& decl : layout.controls) {
        const ItemStyle style = StyleOf(decl, previous);
        previous = &decl;
        t.AlignToDword();
        t.Dword(0);  // helpID
        t.Dword(style.exStyle);
        t.Dword(style.style);
        t.Short(decl.x);
        t.Short(decl.y);
        t.Short(decl.w);
        t.Short(decl.h);
        t.Dword(static_cast<DWORD>(decl.id));
        t.Word(0xFFFF);
        t.Word(style.windowClass);
        // An edit box starts empty; its label is a static of its own.
        t.Text(IsEdit(decl.kind) ? std::wstring() : WidenText(decl.label));
        t.Word(0);  // no creation data
        ++items;
    }
    t.Patch(count, items);
    return t.Finish();
}

}  // namespace qta1
