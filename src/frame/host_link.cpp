#include "frame/host_link.h"

#include <cstring>

#include "resources/strings.h"

namespace qta1 {

bool operator==(const Guid& a, const Guid& b) {
    return a.data1 == b.data1 && a.data2 == b.data2 && a.data3 == b.data3 &&
           std::memcmp(a.data4, b.data4, sizeof a.data4) == 0;
}

int32_t QueryOffered(std::initializer_list<OfferedInterface> offered, const Guid& iid, void** out) {
    if (out == nullptr) return static_cast<int32_t>(0x80004003);  // E_POINTER
    *out = nullptr;
    for (const OfferedInterface& entry : offered) {
        if (entry.iid == iid) {
            entry.as->AddRef();
            *out = entry.as;
            return kHostOk;
        }
    }
    return kNoInterface;
}

void NodeLink::Obtain(HostUnknown* clientSite) {
    if (clientSite == nullptr) return;
    void* reader = nullptr;
    if (clientSite->QueryInterface(kIidNvReader, &reader) == kHostOk && reader != nullptr) {
        reader_ = static_cast<NvReader*>(reader);
    }
    void* writer = nullptr;
    if (clientSite->QueryInterface(kIidNvWriter, &writer) == kHostOk && writer != nullptr) {
        writer_ = static_cast<NvWriter*>(writer);
    }
    void* file = nullptr;
    if (clientSite->QueryInterface(kIidFileNode, &file) == kHostOk && file != nullptr) {
        file_ = static_cast<FileNodeSite*>(file);
    }
}

void NodeLink::Wait(int ms) {
    if (file_ == nullptr) clock_.Sleep(ms);
}

NodeLink::~NodeLink() {
    if (file_ != nullptr) file_->Release();
    if (writer_ != nullptr) writer_->Release();
    if (reader_ != nullptr) reader_->Release();
}

int32_t NodeLink::ReadNv(int32_t nvIndex, uint8_t* buffer, int32_t length) {
    if (reader_ == nullptr) return kMissingInterfaceStatus;
    return reader_->ReadNv(nvIndex, buffer, length);
}

int32_t NodeLink::WriteNv(int32_t nvIndex, const uint8_t* buffer, int32_t length) {
    if (writer_ == nullptr) return kMissingInterfaceStatus;
    const int32_t status = writer_->WriteNv(nvIndex, buffer, length);
    if (status == kHostOk && nvIndex != kPartSelectorNv) ++valuesWritten_;
    return status;
}

int32_t NodeLink::ReadNodeName(uint8_t* buffer, int32_t length) {
    if (reader_ == nullptr) return kMissingInterfaceStatus;
    const int32_t status = reader_->ReadNodeName(buffer, length);
    if (status == kHostOk && length >= nameReadLength_ && length > 0) {
        int32_t size = length;
        while (size > 0 && buffer[size - 1] == 0) --size;
        nameRead_.assign(reinterpret_cast<const char*>(buffer), static_cast<size_t>(size));
        nameReadLength_ = length;
    }
    return status;
}

std::optional<std::string> NodeLink::NameReadAtLeast(int32_t length) const {
    if (nameReadLength_ == 0 || nameReadLength_ < length) return std::nullopt;
    return nameRead_;
}

int NodeLink::ReadSelectedPart() {
    uint8_t buffer[kNvBufferSize] = {};
    if (ReadNv(kPartSelectorNv, buffer, kNvValueSize) != kHostOk) return 0;
    return (buffer[0] << 8) | buffer[1];
}

bool NodeLink::WriteSelector(int part) {
    // Without a writer there is no selector write for the node to settle
    // around, so the waits are skipped too.
    if (writer_ == nullptr) return false;
    const uint8_t bytes[2] = {static_cast<uint8_t>(part >> 8), static_cast<uint8_t>(part & 0xFF)};
    Wait(kSelectorWaitMs);
    const int32_t status = WriteNv(kPartSelectorNv, bytes, 2);
    Wait(kSelectorWaitMs);
    return status == kHostOk;
}

bool NodeLink::SelectPart(int part) { return ReadSelectedPart() == part || WriteSelector(part); }

NodeLink::PartRead NodeLink::ReadSelected(int part, uint8_t* buffer, int32_t length) {
    for (int retry = 0;; ++retry) {
        if (ReadNv(kConfigNv, buffer, length) != kHostOk) return PartRead::Failed;
        if (length <= 0 || buffer[0] == part) return PartRead::Ok;
        // A byte 0 that is no part's number is a part whose memory lost its
        // number (it can be healed only by writing it): it is taken as the
        // part asked for when the selector says so.
        if (buffer[0] < 1 || buffer[0] > kConfigPartCount)
            return ReadSelectedPart() == part ? PartRead::Ok : PartRead::OtherPart;
        if (retry == kPartConfirmRetries) return PartRead::OtherPart;
        Wait(kSelectorWaitMs);
    }
}

std::string NotSelectedText(int part) {
    return text::kNotSelectedHead + std::to_string(part) + text::kNotSelectedTail;
}

NodeLink::PartRead NodeLink::SelectAndRead(int part, uint8_t* buffer, int32_t length) {
    if (!SelectPart(part)) return PartRead::OtherPart;
    return ReadSelected(part, buffer, length);
}

}  // namespace qta1
