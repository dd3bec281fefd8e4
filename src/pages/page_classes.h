// Every page class of the sheet. A page that is not built yet is a pending
// page: its tab exists with its caption and shows no controls.
#pragma once

#include "frame/page.h"
#include "housekeeping/import_export_page.h"
#include "housekeeping/node_information_page.h"
#include "housekeeping/set_time_page.h"
#include "pages/config/config_hvac_page.h"
#include "pages/config/config_qta12_page.h"
#include "pages/config/config_qta3_page.h"
#include "pages/config/dampers_page.h"
#include "pages/regulation/antifrost_page.h"
#include "pages/regulation/calc_injection_page.h"
#include "pages/regulation/calc_space_page.h"
#include "pages/regulation/exchanger_page.h"
#include "pages/regulation/exercise_deicing_page.h"
#include "pages/regulation/heating_surface_page.h"
#include "pages/regulation/low_temp_injection_page.h"
#include "pages/regulation/pid_page.h"
#include "pages/regulation/temp_startup_page.h"
#include "pages/regulation/temperatures_page.h"
#include "pages/schedules/calender_page.h"
#include "pages/schedules/extended_operation_page.h"
#include "pages/schedules/freecool_page.h"
#include "pages/schedules/open_close_timer_page.h"
#include "pages/schedules/pir_page.h"
#include "pages/status/alarms_page.h"
#include "pages/status/running_hours_page.h"
#include "pages/status/status_page.h"
#include "pages/status/status_regulator_page.h"

namespace qta1 {

template <PageId kId>
class PendingPage final : public CPropPage {
public:
    explicit PendingPage(CSheet& sheet) : CPropPage(kId, sheet, kEmptyDef) {}

private:
    static constexpr PageDef kEmptyDef{};
};

}  // namespace qta1
