// Every page class of the sheet. A page that is not built yet is a pending
// page: its tab exists with its caption and shows no controls.
#pragma once

#include "frame/page.h"
#include "housekeeping/import_export_page.h"
#include "housekeeping/node_information_page.h"
#include "housekeeping/set_time_page.h"
#include "pages/regulation/pid_page.h"

namespace qta1 {

template <PageId kId>
class PendingPage final : public CPropPage {
public:
    explicit PendingPage(CSheet& sheet) : CPropPage(kId, sheet, kEmptyDef) {}

private:
    static constexpr PageDef kEmptyDef{};
};

using CPage2PropPage = PendingPage<PageId::Dampers>;
using CPage3PropPage = PendingPage<PageId::RunningHours>;
using CPage4PropPage = PendingPage<PageId::HeatingSurface>;
using CPage5PropPage = PendingPage<PageId::Temperatures>;
using CPage6PropPage = PendingPage<PageId::Calender>;
using CPage7PropPage = PendingPage<PageId::StatusRegulator>;
using CPage8PropPage = PendingPage<PageId::Alarms>;
using CPage9PropPage = PendingPage<PageId::ConfigQta12>;
using CPage10PropPage = PendingPage<PageId::ConfigQta3>;
using CPage13PropPage = PendingPage<PageId::Freecool>;
using CPage14PropPage = PendingPage<PageId::Pir>;
using CPage15PropPage = PendingPage<PageId::Status>;
using CPage17PropPage = PendingPage<PageId::CalcInjection>;
using CPage18PropPage = PendingPage<PageId::Exchanger>;
using CPage19PropPage = PendingPage<PageId::CalcSpace>;
using CPage20PropPage = PendingPage<PageId::Antifrost>;
using CPage21PropPage = PendingPage<PageId::ExtendedOperation>;
using CPage22PropPage = PendingPage<PageId::ExerciseDeicing>;
using CPage23PropPage = PendingPage<PageId::TempStartup>;
using CPage24PropPage = PendingPage<PageId::LowTempInjection>;
using CPage26PropPage = PendingPage<PageId::OpenCloseTimer>;
using CPage27PropPage = PendingPage<PageId::ConfigHvac>;

}  // namespace qta1
