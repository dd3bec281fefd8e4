// An in-memory QTA1 node behind the host's two interfaces: the part selector
// with twelve 31-byte parts behind the configuration NV, every other NV of the
// NV catalogue, live values that move with virtual time, a node name, a trace
// of every host call and injectable faults. Used by the tests, by qta1-sim and
// by the Windows substitute host.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "frame/host_link.h"
#include "unit_model.h"

namespace qta1 {

class Trace;
class VirtualClock;

using NvValue = std::array<uint8_t, kNvValueSize>;

enum class FaultOn { Reads, Writes, Both };

class SimulatedNode final : public NodeInterfaces {
public:
    // The node starts in its factory state (the values "Default settings"
    // sends, selector at part 1, name "QTA1 Sim"). The trace may be null.
    SimulatedNode(const VirtualClock& clock, Trace* trace);
    SimulatedNode(const SimulatedNode&) = delete;
    SimulatedNode& operator=(const SimulatedNode&) = delete;

    // --- State -----------------------------------------------------------
    void SetNv(int nvIndex, const NvValue& value);  // also stops its animation
    NvValue Nv(int nvIndex) const;                  // as a read would return it now
    void SetPart(int part, const NvValue& value);   // 1..12
    NvValue Part(int part) const;
    void SetSelector(int part);
    int Selector() const;
    // Raw name bytes, up to 50; a name of 50 bytes has no terminating zero.
    void SetName(const std::string& bytes);
    const std::string& Name() const { return name_; }
    // Unconfigured: part 1 word 14 = 0 and nothing else changed.
    void SetConfiguredWord(int word);
    // Live status values follow virtual time unless switched off (they then
    // hold the values of the moment they were switched off) or pinned by
    // SetNv for one NV. The node clock keeps running either way.
    void SetAnimated(bool on);
    // What the moving values follow: fixed slow waves (the default, which
    // every recorded trace relies on), or a thermal model of the unit that
    // regulates with the node's own PID constants and set points, as a
    // person at the sheet expects. The model starts at rest each time it is
    // switched on; while the values hold still it holds still too.
    void UseUnitModel(bool on);

    // --- Faults ----------------------------------------------------------
    // The n-th host call from now (1-based, counting ReadNv, WriteNv and
    // ReadNodeName) fails.
    void FailCall(int n);
    void FailNv(int nvIndex, FaultOn on);
    // A node that answers a write with success but keeps its old value: every
    // write of the NV (all parts, for the configuration NV), or the n-th host call from now
    // when it is a write.
    void KeepNv(int nvIndex);
    void KeepCall(int n);
    // A node that takes a selector write at once (NV 55 reads the new part)
    // but goes on showing, and storing writes into, the part it showed before
    // for the next `reads` reads of the configuration NV.
    void LagSelector(int reads);
    void FailAll(bool on);  // every ReadNv, WriteNv and ReadNodeName
    void FailNameRead(bool on);
    // What a failing call returns; 1 by default. 0 is refused: a failed call
    // must never look like a success.
    void SetFailureStatus(int32_t status);
    void ClearFaults();  // also puts the failure status back to 1
    int CallCount() const { return calls_; }

    // --- Host interfaces -------------------------------------------------
    int32_t QTA1_COMCALL QueryInterface(const Guid& iid, void** out) override;
    uint32_t QTA1_COMCALL AddRef() override;
    uint32_t QTA1_COMCALL Release() override;
    int32_t QTA1_COMCALL ReadNv(int32_t nvIndex, uint8_t* buffer, int32_t length) override;
    int32_t QTA1_COMCALL ReadNodeName(uint8_t* buffer, int32_t length) override;
    // A write to one of the node's status NVs is refused with the failure status.
    int32_t QTA1_COMCALL WriteNv(int32_t nvIndex, const uint8_t* buffer, int32_t length) override;

    // Outstanding references taken through QueryInterface/AddRef.
    int32_t RefCount() const { return refs_; }

private:
    bool ShouldFail(int nvIndex, bool isWrite, bool isName);
    // The part behind the configuration NV now: the selected one, or while a
    // switch lags, the one shown before.
    int ShownPart() const { return lagReadsLeft_ > 0 ? laggingPart_ : selector_; }
    NvValue LiveValue(int nvIndex) const;
    // The model's reading of a live NV, or nothing for an NV it does not drive.
    std::optional<NvValue> ModelValue(int nvIndex) const;
    UnitSettings ModelSettings() const;
    // Steps the model up to the moment the live values stand at. Called
    // before every read and before anything the model depends on changes,
    // so that a change takes effect at the moment it is made.
    void CatchUpModel() const;
    bool ReadableValue(int nvIndex, NvValue& value) const;
    bool ApplyWrite(int nvIndex, const uint8_t* buffer, int32_t length);
    bool SetNodeClock(const uint8_t* bytes);
    void ResetRunningHours(int code);
    int64_t NodeClockSeconds() const;
    int64_t LiveMs() const;

    const VirtualClock& clock_;
    Trace* trace_;
    std::map<int, NvValue> nvs_;
    std::array<NvValue, 13> parts_{};  // index 1..12
    int selector_ = 1;
    std::string name_;
    bool animated_ = true;
    int64_t frozenAtMs_ = 0;  // virtual time the live values hold while not animated
    // Stepping the model only catches up with virtual time, so reads may do it.
    mutable std::optional<UnitModel> model_;
    std::set<int> pinned_;
    // Node clock: the node's date and time, in seconds since 1970-01-01, at
    // virtual time clockSetAtMs_.
    int64_t nodeClockSeconds_ = 0;
    int64_t clockSetAtMs_ = 0;
    // Running-hour counters and the moment they were last reset.
    std::array<int64_t, 5> hoursBase_{};
    std::array<int64_t, 5> hoursResetAtMs_{};
    int calls_ = 0;
    std::set<int> failingCalls_;
    std::map<int, FaultOn> failingNvs_;
    std::set<int> keepingCalls_;
    std::set<int> keepingNvs_;
    int selectorLag_ = 0;   // reads a switch lags behind the selector write
    int lagReadsLeft_ = 0;  // reads of the lagging switch still to come
    int laggingPart_ = 0;   // the part shown meanwhile
    bool failAll_ = false;
    bool failName_ = false;
    int32_t failureStatus_ = 1;
    int32_t refs_ = 0;
};

// A client site that offers the node's reader and writer, or not.
class SimulatedSite final : public HostUnknown {
public:
    explicit SimulatedSite(SimulatedNode& node) : node_(node) {}
    void OfferReader(bool on) { offerReader_ = on; }
    void OfferWriter(bool on) { offerWriter_ = on; }
    int32_t QTA1_COMCALL QueryInterface(const Guid& iid, void** out) override;
    uint32_t QTA1_COMCALL AddRef() override { return 1; }
    uint32_t QTA1_COMCALL Release() override { return 1; }

private:
    SimulatedNode& node_;
    bool offerReader_ = true;
    bool offerWriter_ = true;
};

}  // namespace qta1
