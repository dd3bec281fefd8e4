// One enumerator for the three lists the control hands out: its verbs, its
// connection points and the connections of its event point. Each enumerator
// owns a copy of the list, so the caller may keep it after the control
// changes or goes away.
#pragma once

#include <ole2.h>
#include <olectl.h>
#include <windows.h>

#include <new>
#include <vector>

#include "platform/win32/com_support.h"
#include "platform/win32/ocx_module.h"

namespace qta1::win32 {

// Copy(to, from) hands out or keeps one reference (or one allocation) of
// the item; Clear(item) gives it back. Copy may fail only for lack of memory.
struct VerbTraits {
    static bool Copy(OLEVERB& to, const OLEVERB& from) {
        to = from;
        if (from.lpszVerbName == nullptr) return true;
        const size_t bytes = (lstrlenW(from.lpszVerbName) + 1) * sizeof(WCHAR);
        to.lpszVerbName = static_cast<LPOLESTR>(CoTaskMemAlloc(bytes));
        if (to.lpszVerbName == nullptr) return false;
        CopyMemory(to.lpszVerbName, from.lpszVerbName, bytes);
        return true;
    }
    static void Clear(OLEVERB& item) {
        CoTaskMemFree(item.lpszVerbName);
        item.lpszVerbName = nullptr;
    }
};

struct ConnectionTraits {
    static bool Copy(CONNECTDATA& to, const CONNECTDATA& from) {
        to = from;
        if (to.pUnk != nullptr) to.pUnk->AddRef();
        return true;
    }
    static void Clear(CONNECTDATA& item) {
        if (item.pUnk != nullptr) item.pUnk->Release();
        item.pUnk = nullptr;
    }
};

struct ConnectionPointTraits {
    static bool Copy(IConnectionPoint*& to, IConnectionPoint* const& from) {
        to = from;
        if (to != nullptr) to->AddRef();
        return true;
    }
    static void Clear(IConnectionPoint*& item) {
        if (item != nullptr) item->Release();
        item = nullptr;
    }
};

template <class Enum, class Item, const IID* kIid, class Traits>
class Enumerator final : public Enum {
public:
    static HRESULT Create(const Item* items, size_t count, size_t position, Enum** out) {
        if (out == nullptr) return E_POINTER;
        *out = nullptr;
        auto* made = new (std::nothrow) Enumerator();
        if (made == nullptr) return E_OUTOFMEMORY;
        try {
            made->items_.reserve(count);
        } catch (const std::bad_alloc&) {
            made->Release();
            return E_OUTOFMEMORY;
        }
        for (size_t i = 0; i < count; ++i) {
            Item copy{};
            if (!Traits::Copy(copy, items[i])) {
                made->Release();
                return E_OUTOFMEMORY;
            }
            made->items_.push_back(copy);
        }
        made->position_ = position < count ? position : count;
        *out = made;
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        static const Offered<Enumerator> kOffered[] = {
            Offer<Enum, Enumerator>(IID_IUnknown),
            Offer<Enum, Enumerator>(*kIid),
        };
        return QueryOffered(this, kOffered, iid, out);
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&refs_); }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG left = InterlockedDecrement(&refs_);
        if (left == 0) delete this;
        return left;
    }

    HRESULT STDMETHODCALLTYPE Next(ULONG wanted, Item* out, ULONG* fetched) override {
        if (fetched != nullptr) *fetched = 0;
        if (out == nullptr || (wanted != 1 && fetched == nullptr)) return E_POINTER;
        ULONG given = 0;
        while (given < wanted && position_ < items_.size()) {
            if (!Traits::Copy(out[given], items_[position_])) {
                for (ULONG i = 0; i < given; ++i) Traits::Clear(out[i]);
                return E_OUTOFMEMORY;
            }
            ++given;
            ++position_;
        }
        if (fetched != nullptr) *fetched = given;
        return given == wanted ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Skip(ULONG count) override {
        const size_t left = items_.size() - position_;
        if (count > left) {
            position_ = items_.size();
            return S_FALSE;
        }
        position_ += count;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Reset() override {
        position_ = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Clone(Enum** out) override {
        return Create(items_.data(), items_.size(), position_, out);
    }

private:
    Enumerator() { ObjectCreated(); }
    ~Enumerator() {
        for (Item& item : items_) Traits::Clear(item);
        ObjectDestroyed();
    }

    LONG refs_ = 1;
    std::vector<Item> items_;
    size_t position_ = 0;
};

using VerbEnumerator = Enumerator<IEnumOLEVERB, OLEVERB, &IID_IEnumOLEVERB, VerbTraits>;
using ConnectionEnumerator =
    Enumerator<IEnumConnections, CONNECTDATA, &IID_IEnumConnections, ConnectionTraits>;
using ConnectionPointEnumerator = Enumerator<IEnumConnectionPoints, IConnectionPoint*,
                                             &IID_IEnumConnectionPoints, ConnectionPointTraits>;

}  // namespace qta1::win32
