// Shared helpers of the card tests: cards written by the generator into a
// temporary folder, clusters of single pages at chosen numbers and times, and
// the logger of a data read.
#pragma once

#include "card/buffer_list.h"
#include "card/card_records.h"
#include "card/ext_card.h"
#include "loggers/qel_base.h"
#include "loggers/qel_factory.h"
#include "tests/support/temp_dir.h"
#include "tools/cardgen/card_generator.h"

#include <stdexcept>
#include <string>
#include <vector>

namespace qeltest {

// A card written into its own folder.
struct TGeneratedCard {
    TempDir Dir;
    qel::cardgen::TCardManifest Manifest;
};

inline void Generate(TGeneratedCard& card, const qel::cardgen::TCardDescription& desc)
{
    card.Manifest = qel::cardgen::GenerateCard(desc, card.Dir.Path().string());
}

// Replaces the entries of the image by the given container files.
inline void FillImage(qel::TExtCard& image, const std::vector<std::string>& files)
{
    image.Clear();
    for (const auto& file : files) {
        image.Add(new qel::TExtCardInfo(file));
    }
}

inline qel::TCardPosition ToPosition(const qel::cardgen::TClusterPos& pos)
{
    return {pos.Container, pos.Cluster};
}

// As the application starts a data read: the logger of the first selected
// record of list, made by the factory with that record's identity, becomes
// the current logger of QelList and the active logger of the read list.
inline qel::TQEL& BindLoggerOfFirstSelected(qel::TRecInfoList& list)
{
    if (!list.Start()) {
        throw std::logic_error("no record is selected");
    }
    const qel::TCardClusterInfo& info = dynamic_cast<qel::TCardRecord&>(*list.GetCurrent()).Info;
    qel::TQEL* logger = qel::GetQelClass(info.QEL_CLASS, info.QEL_VER_PC)->Create().release();
    qel::QelList.Add(logger);
    logger->ID_CLASS = info.QEL_CLASS;
    logger->ID_VER_PC = info.QEL_VER_PC;
    logger->ID_VER = info.QEL_VER;
    qel::ReadBufferList.SetActiveQEL(logger);
    return *logger;
}

// A logger of model 0x6606 (page times in units of 1000 ticks).
inline qel::cardgen::TLoggerDescription Logger(std::uint32_t serial, std::uint16_t model = 0x6606)
{
    return {model, 0x0120, 0x0120, serial, {}};
}

// One page of a logger with its page number, time (units) and start flag;
// every page of one logger shares the start page number 0.
inline qel::cardgen::TRecordingDescription Page(const qel::cardgen::TLoggerDescription& logger, std::uint16_t pageNo,
                                         std::uint64_t timeUnits, bool startPage = false)
{
    qel::cardgen::TRecordingDescription page;
    page.Logger = logger;
    page.FirstPageNo = pageNo;
    page.StartPageNo = 0;
    page.StartTimeUnits = timeUnits;
    page.BeginsWithStartPage = startPage;
    return page;
}

// A layout of single pages, each placed once in the given order.
inline qel::cardgen::TCardDescription PagesInOrder(const std::vector<qel::cardgen::TRecordingDescription>& pages)
{
    qel::cardgen::TCardDescription desc;
    desc.Recordings = pages;
    for (std::size_t i = 0; i < pages.size(); ++i) {
        desc.Layout.emplace_back(qel::cardgen::TPlaceRecording{i, 0, {}});
    }
    return desc;
}

} // namespace qeltest
