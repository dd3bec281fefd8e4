#include "housekeeping/file_node.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "resources/strings.h"

namespace qta1 {

namespace {

std::string Hex(const uint8_t* bytes, int count) {
    std::string text;
    char byte[4];
    for (int i = 0; i < count; ++i) {
        std::snprintf(byte, sizeof byte, "%02X", bytes[i]);
        if (i > 0) text += ' ';
        text += byte;
    }
    return text;
}

}  // namespace

std::string FileNameOf(std::string_view path) {
    const std::size_t slash = path.find_last_of("\\/");
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

std::string NodeNameOfFile(std::string_view path) {
    std::string name = FileNameOf(path);
    const std::size_t dot = name.rfind('.');
    if (dot != std::string::npos && dot > 0) name.resize(dot);
    return name;
}

FileNode::FileNode(Storage& storage, Clock& clock, std::string path)
    : storage_(storage), clock_(clock), path_(std::move(path)) {}

FileNode::Opened FileNode::Open(Storage& storage, Clock& clock, const std::string& path) {
    const std::optional<std::string> bytes = storage.ReadFile(path);
    if (!bytes) return {nullptr, path + text::kFileNotReadable};
    SettingsFilePlan plan = PlanSettingsFile(*bytes);
    if (plan.badLine) return {nullptr, BadLineMessage(*plan.badLine, text::kNotOpenedLineHead)};
    if (!plan.Usable()) {
        return {nullptr, text::kNotOpenedHead + NotSettingsText(path, plan.notSettings)};
    }
    std::unique_ptr<FileNode> node(new FileNode(storage, clock, path));
    node->image_ = ImageOfPlan(plan);
    node->savedImage_ = node->image_;
    node->fileBytes_ = *bytes;
    node->onDisk_ = *bytes;
    node->plan_ = std::move(plan);
    return {std::move(node), {}};
}

std::unique_ptr<FileNode> FileNode::Factory(Storage& storage, Clock& clock,
                                            const std::string& path) {
    std::unique_ptr<FileNode> node(new FileNode(storage, clock, path));
    node->image_ = FactoryImage();
    node->onDisk_ = storage.ReadFile(path);
    return node;
}

std::string FileNode::Text() const {
    if (fileBytes_) return PatchedSettingsText(*fileBytes_, plan_, image_);
    return SettingsFileText({image_, 0}, text::kProgramId, NodeNameOfFile(path_), clock_.Now());
}

const NvEntry* FileNode::FileNv(int nv) const {
    for (const NvEntry* entry : SettingsFileNvs()) {
        if (entry->nv == nv) return entry;
    }
    return nullptr;
}

void FileNode::Log(const std::string& line) const {
    if (log_) log_(line);
}

int32_t QTA1_COMCALL FileNode::QueryInterface(const Guid& iid, void** out) {
    return QueryOffered({{kIidNvReader, static_cast<NvReader*>(this)},
                         {kIidUnknown, static_cast<NvReader*>(this)},
                         {kIidNvWriter, static_cast<NvWriter*>(this)},
                         {kIidFileNode, static_cast<FileNodeSite*>(this)}},
                        iid, out);
}

uint32_t QTA1_COMCALL FileNode::AddRef() { return static_cast<uint32_t>(++refs_); }

// The host owns the node; the plug-in's references only count.
uint32_t QTA1_COMCALL FileNode::Release() {
    if (refs_ > 0) --refs_;
    return static_cast<uint32_t>(refs_);
}

int32_t QTA1_COMCALL FileNode::ReadNv(int32_t nvIndex, uint8_t* buffer, int32_t length) {
    // What the NV holds: the selector's part number, the selected part, or
    // the NV's block of the file.
    std::string value;
    bool held = false;
    if (nvIndex == kPartSelectorNv) {
        value = {static_cast<char>(selector_ >> 8), static_cast<char>(selector_ & 0xFF)};
        held = true;
    } else if (FileNv(nvIndex) != nullptr) {
        const int part = nvIndex == kConfigNv ? selector_ : 0;
        const auto block = image_.find({nvIndex, part});
        held = block != image_.end();
        if (held) value = block->second;
    }
    const bool ok = held && buffer != nullptr && length >= 0;
    const int32_t status = ok ? kHostOk : kNotInFile;
    const int copied = ok ? std::min<int32_t>(length, kNvValueSize) : 0;
    if (ok) {
        std::memset(buffer, 0, static_cast<std::size_t>(length));
        std::memcpy(buffer, value.data(), std::min<std::size_t>(value.size(), copied));
    }
    std::string line = "ReadNv(" + std::to_string(nvIndex) + ", " + std::to_string(length) +
                       ") -> " + std::to_string(status);
    if (ok) line += "  [" + Hex(buffer, copied) + "]";
    Log(line);
    return status;
}

int32_t QTA1_COMCALL FileNode::ReadNodeName(uint8_t* buffer, int32_t length) {
    const std::string name = NodeNameOfFile(path_);
    const bool ok = buffer != nullptr && length >= 0;
    if (ok) {
        const std::size_t copied =
            std::min<std::size_t>(static_cast<std::size_t>(length), name.size());
        std::memset(buffer, 0, static_cast<std::size_t>(length));
        std::memcpy(buffer, name.data(), copied);
    }
    Log("ReadNodeName(" + std::to_string(length) + ") -> " +
        std::to_string(ok ? kHostOk : kNotInFile) + (ok ? "  \"" + name + "\"" : ""));
    return ok ? kHostOk : kNotInFile;
}

int32_t QTA1_COMCALL FileNode::WriteNv(int32_t nvIndex, const uint8_t* buffer, int32_t length) {
    bool ok = false;
    if (buffer != nullptr && length > 0) {
        if (nvIndex == kPartSelectorNv) {
            ok = length >= 2;
            if (ok) selector_ = buffer[0] << 8 | buffer[1];
        } else if (const NvEntry* nv = FileNv(nvIndex); nv != nullptr) {
            const int part = nvIndex == kConfigNv ? selector_ : 0;
            ok = nvIndex != kConfigNv || (part >= 1 && part <= kConfigPartCount);
            if (ok) {
                // The block keeps the bytes a download writes; a shorter
                // write changes only its own bytes.
                std::string& block = image_[{nvIndex, part}];
                block.resize(static_cast<std::size_t>(nv->writeLength), '\0');
                std::memcpy(block.data(), buffer,
                            std::min<std::size_t>(static_cast<std::size_t>(length), block.size()));
            }
        }
    }
    const int32_t status = ok ? kHostOk : kNotInFile;
    const int shown = buffer != nullptr ? std::clamp<int32_t>(length, 0, kNvValueSize) : 0;
    std::string line = "WriteNv(" + std::to_string(nvIndex) + ", " + std::to_string(length) +
                       ") <- [" + Hex(buffer, shown);
    if (shown < length && buffer != nullptr) line += " ...";
    Log(line + "] -> " + std::to_string(status));
    return status;
}

int32_t QTA1_COMCALL FileNode::FileName(uint8_t* buffer, int32_t length) {
    const std::string name = FileNameOf(path_);
    if (buffer == nullptr || length <= 0) return kNotInFile;
    const std::size_t copied =
        std::min<std::size_t>(static_cast<std::size_t>(length) - 1, name.size());
    std::memcpy(buffer, name.data(), copied);
    buffer[copied] = 0;
    return copied == name.size() ? kHostOk : kNotInFile;
}

int32_t QTA1_COMCALL FileNode::Unsaved() {
    return !fileBytes_ || image_ != savedImage_ ? kHostOk : kNotInFile;
}

int32_t QTA1_COMCALL FileNode::Save(int32_t overwrite) {
    // Another program's changes are not written over unasked: the file must
    // still be what this node last read or wrote.
    if (overwrite == 0) {
        if (storage_.ReadFile(path_) != onDisk_) return kFileChangedElsewhere;
    }
    const std::string text = Text();
    if (!storage_.ReplaceFile(path_, text)) return kNotInFile;
    // The file written is read as every file is, so that the next save
    // patches it as it now stands.
    SettingsFilePlan plan = PlanSettingsFile(text);
    if (!plan.Usable()) return kNotInFile;
    fileBytes_ = text;
    onDisk_ = text;
    plan_ = std::move(plan);
    savedImage_ = image_;
    return kHostOk;
}

}  // namespace qta1
