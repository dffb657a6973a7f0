// Start and end of the program-wide state of every layer.
#include "app/init_units.h"

#include "app/chart_caption_targets.h"
#include "app/qel_port_search.h"

#include "card/buffer_list.h"
#include "card/burst_data.h"
#include "card/card_records.h"
#include "card/dbus_data.h"
#include "card/ext_card.h"
#include "card/fifo_data.h"
#include "card/se_pages.h"
#include "card/spill_file_reaper.h"
#include "foundations/foundation_units.h"
#include "foundations/language_switch.h"
#include "loggers/qel_base.h"
#include "widgets/chart/chart_canvas_unit.h"
#include "widgets/chart/chart_defaults.h"
#include "widgets/chart/chart_filters_unit.h"
#include "widgets/chart/chart_language.h"
#include "widgets/chart/html_stacks.h"
#include "widgets/chart/chart_resources.h"
#include "widgets/pages/pgc_base_unit.h"
#include "widgets/pages/pgc_brush_bitmap.h"
#include "widgets/pages/pgc_intl.h"
#include "widgets/pages/pgc_validator_units.h"

namespace qel {

void InitUnits()
{
    InitFoundations();
    RegisterChartResources();
    InitChartTexts();
    InitChartCanvas();
    InitChartFilters();
    InitChartDefaults();
    InitChartHtml();
    SetChartLanguageHook(ChartLanguageEnglish, ChartLanguageGerman, ChartLanguageFrench);
    InitChartCaptionTranslation();
    InitBurstData();
    InitDBusData();
    InitFifoData();
    InitSEPageList();
    InitPortSearch();
    InitPgcBaseUnit();
    InitBrushBitmapUnit();
    InitIntlUnit();
    InitValidatorUnits();
}

void FinalizeUnits()
{
    FinalizePortSearch();
    FinalizeValidatorUnits();
    FinalizeIntlUnit();
    FinalizeBrushBitmapUnit();
    FinalizePgcBaseUnit();
    SaveBufferList.ClearAll();
    SaveBufferList.SetActiveQEL(nullptr);
    ReadBufferList.ClearAll();
    ReadBufferList.SetActiveQEL(nullptr);
    FlushSpillFileDisposal();
    RecInfoList.Clear();
    ExtCard.Clear();
    QelList.Clear();
    FinalizeSEPageList();
    FinalizeFifoData();
    FinalizeDBusData();
    FinalizeBurstData();
    FinalizeChartCaptionTranslation();
    SetChartLanguageHook(nullptr, nullptr, nullptr);
    FinalizeChartHtml();
    FinalizeChartDefaults();
    FinalizeChartFilters();
    FinalizeChartCanvas();
    FinalizeChartTexts();
    FinalizeFoundations();
}

} // namespace qel
