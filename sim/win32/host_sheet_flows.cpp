#include "host_sheet_flows.h"

#include "node/nv_catalogue.h"
#include "resources/strings.h"

namespace qta1::host {

void ShowTechnicianSet(SheetScript& sheet) {
    sheet.Idle(100);
    sheet.SelectTab(PageId::NodeInformation);
    sheet.Click(PageId::NodeInformation, IDC_NODEINFO_TECHNICIAN);
}

bool CompareWithChangedNode(RealSheetHost& host, SheetScript& sheet,
                            const std::function<void(HWND)>& onWindow) {
    // Where Save proposes to save the simulated node.
    const std::string file = "C:\\QTA1 Sim.txt";
    DeleteFileW(WidenPath(file).c_str());
    sheet.Idle(100);
    sheet.SelectTab(PageId::NodeInformation);
    sheet.Click(PageId::NodeInformation, IDC_NODEINFO_TECHNICIAN);
    sheet.SelectTab(PageId::ImportExport);
    sheet.QueueFileAnswer(file);
    sheet.Click(PageId::ImportExport, IDC_IMPEXP_SAVE);

    // Three boxes on three pages change after the save: P of the heating
    // loop (PID), a sensor offset (Temperatures) and a free-cooling
    // temperature (Freecool).
    SimulatedNode& node = host.Node();
    const NvValue pid = node.Part(kPidPart);
    const NvValue temperatures = node.Part(kTemperaturesPart);
    const NvValue freecool = node.Nv(kMinNightCoolNv);  // the lowest injection temperature
    NvValue changed = pid;
    changed[1] = 0x00;
    changed[2] = 0x19;  // 2.5
    node.SetPart(kPidPart, changed);
    changed = temperatures;
    changed[1] = 0xFF;
    changed[2] = 0x6A;  // -1.50
    node.SetPart(kTemperaturesPart, changed);
    changed = freecool;
    changed[0] = 0x06;
    changed[1] = 0xA4;  // 17.00
    node.SetNv(kMinNightCoolNv, changed);

    bool shown = false;
    sheet.WatchReviews([&](HWND window) {
        shown = true;
        onWindow(window);
        return false;  // closed by the script's answer: Close
    });
    sheet.Click(PageId::ImportExport, IDC_IMPEXP_COMPARE_NODE);
    sheet.QueueFileAnswer(file);
    sheet.Click(PageId::ImportExport, IDC_IMPEXP_COMPARE);
    sheet.WatchReviews(nullptr);

    node.SetPart(kPidPart, pid);
    node.SetPart(kTemperaturesPart, temperatures);
    node.SetNv(kMinNightCoolNv, freecool);
    DeleteFileW(WidenPath(file).c_str());
    return shown;
}

}  // namespace qta1::host
