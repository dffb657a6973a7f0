// The filter family's set-up and shutdown.
#include "widgets/chart/chart_filters_unit.h"

#include "widgets/chart/area_filters.h"
#include "widgets/chart/blur_filter.h"
#include "widgets/chart/chart_gradient.h"
#include "widgets/chart/color_filters.h"
#include "widgets/chart/filter_class_registry.h"
#include "widgets/chart/flip_filters.h"
#include "widgets/chart/hls_filters.h"
#include "widgets/chart/kernel_filters.h"
#include "widgets/chart/resize_filters.h"
#include "widgets/chart/rotate_filter.h"

namespace qel {

void InitChartFilters()
{
    RegisterFilterClasses({TInvertFilter::StaticClass(), TGrayScaleFilter::StaticClass(),
        TMosaicFilter::StaticClass(), TFlipFilter::StaticClass(), TReverseFilter::StaticClass(),
        TBrightnessFilter::StaticClass(), TContrastFilter::StaticClass(), TColorFilter::StaticClass(),
        TColorReplaceFilter::StaticClass(), THueLumSatFilter::StaticClass(), TBlurFilter::StaticClass(),
        TSharpenFilter::StaticClass(), TGammaCorrectionFilter::StaticClass(), TEmbossFilter::StaticClass(),
        TSoftenFilter::StaticClass(), TCropFilter::StaticClass(), TResizeFilter::StaticClass(),
        TRotateFilter::StaticClass(), TMirrorFilter::StaticClass(), TTileFilter::StaticClass(),
        TBevelFilter::StaticClass(), TEqualizeFilter::StaticClass(), TZoomFilter::StaticClass(),
        TSobelFilter::StaticClass(), TSepiaFilter::StaticClass()});
    GradientRotateHook = &GradientRotate;
}

void FinalizeChartFilters()
{
    GradientRotateHook = nullptr;
    FilterClassNames.reset();
}

} // namespace qel
