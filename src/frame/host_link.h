// The two COM interfaces the host offers on the control's client site, and
// the part-selection handshake every user of the configuration NV goes
// through. Nothing here includes windows.h: the interfaces are declared with
// the same method-table shape a COM client expects, so the Win32 module hands
// the host's own pointers straight to the core.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>

#include "frame/platform.h"
#include "node/nv_catalogue.h"

#if defined(_WIN32)
#define QTA1_COMCALL __stdcall
#else
#define QTA1_COMCALL
#endif

namespace qta1 {

// Binary layout of a COM GUID.
struct Guid {
    uint32_t data1;
    uint16_t data2;
    uint16_t data3;
    uint8_t data4[8];
};

bool operator==(const Guid& a, const Guid& b);

// {C9C04CC1-23F0-11D3-BC97-00A0C9E5F504}
inline constexpr Guid kIidNvReader = {
    0xC9C04CC1, 0x23F0, 0x11D3, {0xBC, 0x97, 0x00, 0xA0, 0xC9, 0xE5, 0xF5, 0x04}};
// {099B79E0-BA3D-11D0-AD92-006097174407}
inline constexpr Guid kIidNvWriter = {
    0x099B79E0, 0xBA3D, 0x11D0, {0xAD, 0x92, 0x00, 0x60, 0x97, 0x17, 0x44, 0x07}};
// {00000000-0000-0000-C000-000000000046}
inline constexpr Guid kIidUnknown = {
    0x00000000, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

inline constexpr int32_t kHostOk = 0;
inline constexpr int32_t kNoInterface = static_cast<int32_t>(0x80004002);  // E_NOINTERFACE

// Method-table slots 0 to 2, in COM order. No virtual destructor: it would
// add slots and move every method the host implements.
class HostUnknown {
public:
    virtual int32_t QTA1_COMCALL QueryInterface(const Guid& iid, void** out) = 0;
    virtual uint32_t QTA1_COMCALL AddRef() = 0;
    virtual uint32_t QTA1_COMCALL Release() = 0;

protected:
    ~HostUnknown() = default;
};

// Reads NVs and the node name. The host's slots 3 to 6 and 8 are never
// called; they are declared so that ReadNv sits at slot 7 and ReadNodeName at 9.
class NvReader : public HostUnknown {
public:
    virtual int32_t QTA1_COMCALL ReaderSlot3() = 0;
    virtual int32_t QTA1_COMCALL ReaderSlot4() = 0;
    virtual int32_t QTA1_COMCALL ReaderSlot5() = 0;
    virtual int32_t QTA1_COMCALL ReaderSlot6() = 0;
    virtual int32_t QTA1_COMCALL ReadNv(int32_t nvIndex, uint8_t* buffer, int32_t length) = 0;
    virtual int32_t QTA1_COMCALL ReaderSlot8() = 0;
    virtual int32_t QTA1_COMCALL ReadNodeName(uint8_t* buffer, int32_t length) = 0;

protected:
    ~NvReader() = default;
};

// Sends NV values. Slots 3 to 7 are never called; WriteNv sits at slot 8.
class NvWriter : public HostUnknown {
public:
    virtual int32_t QTA1_COMCALL WriterSlot3() = 0;
    virtual int32_t QTA1_COMCALL WriterSlot4() = 0;
    virtual int32_t QTA1_COMCALL WriterSlot5() = 0;
    virtual int32_t QTA1_COMCALL WriterSlot6() = 0;
    virtual int32_t QTA1_COMCALL WriterSlot7() = 0;
    virtual int32_t QTA1_COMCALL WriteNv(int32_t nvIndex, const uint8_t* buffer,
                                         int32_t length) = 0;

protected:
    ~NvWriter() = default;
};

// Offered by a client site whose node is a settings file rather than a unit
// on the network (the settings editor): the node then needs none of the
// protocol's waits, and the sheet says which file it shows and keeps it.
// {6C3E7B52-9D1A-4F0E-A8C4-2B5D9E71F3A6}
inline constexpr Guid kIidFileNode = {
    0x6C3E7B52, 0x9D1A, 0x4F0E, {0xA8, 0xC4, 0x2B, 0x5D, 0x9E, 0x71, 0xF3, 0xA6}};

class FileNodeSite : public HostUnknown {
public:
    // The file's name without its folder, zero-terminated within `length`
    // bytes (Windows-1252); kHostOk when it fits.
    virtual int32_t QTA1_COMCALL FileName(uint8_t* buffer, int32_t length) = 0;
    // kHostOk while the node holds values its file does not (yet); any
    // other status when the file holds all of them.
    virtual int32_t QTA1_COMCALL Unsaved() = 0;
    // Writes what the node holds to its file, in one step. kHostOk when
    // saved; kFileChangedElsewhere, with nothing written, when another
    // program changed the file since it was opened or saved and `overwrite`
    // is 0; any other status when it could not be written.
    virtual int32_t QTA1_COMCALL Save(int32_t overwrite) = 0;

protected:
    ~FileNodeSite() = default;
};
inline constexpr int32_t kFileChangedElsewhere = 2;
// Room for a file's name as FileName gives it, with its terminating zero.
inline constexpr int kFileNameBufferSize = 260;

// One interface an object behind the host offers: its identifier and the
// object as that interface.
struct OfferedInterface {
    const Guid& iid;
    HostUnknown* as;
};
// QueryInterface over the table of what an object offers: the entry for
// `iid`, counted once more, or E_NOINTERFACE (E_POINTER without `out`).
int32_t QueryOffered(std::initializer_list<OfferedInterface> offered, const Guid& iid, void** out);

// Both interfaces as a node behind a host implements them (the simulated
// node, a settings file as the node): the slots the plug-in never calls
// answer E_NOINTERFACE.
class NodeInterfaces : public NvReader, public NvWriter {
public:
    int32_t QTA1_COMCALL ReaderSlot3() final { return kNoInterface; }
    int32_t QTA1_COMCALL ReaderSlot4() final { return kNoInterface; }
    int32_t QTA1_COMCALL ReaderSlot5() final { return kNoInterface; }
    int32_t QTA1_COMCALL ReaderSlot6() final { return kNoInterface; }
    int32_t QTA1_COMCALL ReaderSlot8() final { return kNoInterface; }
    int32_t QTA1_COMCALL WriterSlot3() final { return kNoInterface; }
    int32_t QTA1_COMCALL WriterSlot4() final { return kNoInterface; }
    int32_t QTA1_COMCALL WriterSlot5() final { return kNoInterface; }
    int32_t QTA1_COMCALL WriterSlot6() final { return kNoInterface; }
    int32_t QTA1_COMCALL WriterSlot7() final { return kNoInterface; }

protected:
    ~NodeInterfaces() = default;
};

inline constexpr int kReadNvSlot = 7;
inline constexpr int kReadNodeNameSlot = 9;
inline constexpr int kWriteNvSlot = 8;

inline constexpr int kSelectorWaitMs = 200;
// How often a part that still shows another number is read again.
inline constexpr int kPartConfirmRetries = 3;
// Failure status of a call the core could not make because the host offered
// no such interface.
inline constexpr int32_t kMissingInterfaceStatus = -1;

// One counted reference to each host interface, obtained from the client site
// and released when the link goes away. Every node access of the plug-in goes
// through here, so a missing interface is handled in one place: a read fails,
// a write is skipped, and neither is ever called.
class NodeLink {
public:
    // The link waits on `clock` where a unit needs time, and shows long
    // passes over the node's parts on `screen`.
    NodeLink(Clock& clock, Screen& screen) : clock_(clock), screen_(screen) {}
    ~NodeLink();
    // Asks the client site for the reader, then the writer; keeps one
    // reference to each that it offers. Called once.
    void Obtain(HostUnknown* clientSite);
    NodeLink(const NodeLink&) = delete;
    NodeLink& operator=(const NodeLink&) = delete;

    bool HasReader() const { return reader_ != nullptr; }
    // The node is a settings file (the site offered kIidFileNode): nullptr
    // for a unit on the network.
    FileNodeSite* File() const { return file_; }
    // A wait the node needs between protocol steps; none against a file.
    void Wait(int ms);
    bool HasAny() const { return reader_ != nullptr || writer_ != nullptr; }

    int32_t ReadNv(int32_t nvIndex, uint8_t* buffer, int32_t length);
    // The result is returned for the few callers that count failures; the
    // page cycle ignores it and confirms by reading back.
    int32_t WriteNv(int32_t nvIndex, const uint8_t* buffer, int32_t length);
    int32_t ReadNodeName(uint8_t* buffer, int32_t length);
    // The name the node gave at the longest successful name read so far, when
    // that read took at least `length` bytes (trailing zero bytes dropped):
    // what the change log needs without asking the node again.
    std::optional<std::string> NameReadAtLeast(int32_t length) const;
    // How many writes of values (not of the part selector) the node has
    // taken through this link: what tells "nothing was written".
    int ValuesWritten() const { return valuesWritten_; }

    // The part the node now shows; 0 when the selector cannot be read.
    int ReadSelectedPart();
    // Waits 200 ms, writes [part >> 8, part & 0xFF] to the selector, waits 200 ms.
    // False when the host refused the write (or offered no writer).
    bool WriteSelector(int part);
    // Writes the selector only when the node does not already show the part.
    // False when the node may be showing another part: the selector write
    // failed. Callers then leave that part alone rather than read another
    // part's bytes into its controls or write them back over it.
    bool SelectPart(int part);

    // Reads the configuration NV as part `part`, after the part has been
    // selected. Every part carries its number in byte 0, so a read whose byte
    // 0 is another number shows another part: a node that took the selector
    // write but has not switched yet. It is given the selector's wait again
    // and read again, up to kPartConfirmRetries times, before the part
    // counts as not selected. The buffer holds the read as the node sent it.
    enum class PartRead { Ok, Failed, OtherPart };
    PartRead ReadSelected(int part, uint8_t* buffer, int32_t length);
    // SelectPart, then ReadSelected; a refused selection is OtherPart.
    PartRead SelectAndRead(int part, uint8_t* buffer, int32_t length);

    Screen& screen() { return screen_; }

private:
    Clock& clock_;
    Screen& screen_;
    NvWriter* writer_ = nullptr;
    NvReader* reader_ = nullptr;
    FileNodeSite* file_ = nullptr;
    int valuesWritten_ = 0;
    std::string nameRead_;
    int32_t nameReadLength_ = 0;
};

// How a write that did not reach its part says why.
std::string NotSelectedText(int part);

}  // namespace qta1
