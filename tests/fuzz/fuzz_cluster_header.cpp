// Fuzz target for the cluster header parse and the configuration readers:
// any bytes as a cluster (cut or padded to 1536), half of the inputs with
// valid marks and kind so that the page header and the model's decoder are
// reached; every configuration reader then reads the cluster into its logger.
#include "card/cluster_config.h"
#include "card/cluster_header.h"
#include "loggers/qel57.h"
#include "loggers/qel629.h"
#include "loggers/qel629c.h"
#include "loggers/qel649.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    qel::TCardCluster cluster{};
    std::copy_n(data, std::min(size, cluster.size()), cluster.begin());
    if (size > 0 && (data[0] & 1) != 0) {
        cluster[0] = 0x01;
        cluster[1] = 0xE0;
        cluster[qel::CLUSTER_KIND] = 0x82;
        cluster[1534] = 0x03;
        cluster[1535] = 0xE0;
    }
    qel::TCardClusterInfo info;
    const bool valid = qel::ParseClusterHeader(cluster, info);
    const bool knownCode = info.Code == qel::CLUSTER_OK || info.Code == qel::CLUSTER_BAD_START_MARK
                        || info.Code == qel::CLUSTER_BAD_KIND || info.Code == qel::CLUSTER_BAD_END_MARK
                        || info.Code == qel::CLUSTER_NO_TIME;
    if (!knownCode || valid != (info.Code == qel::CLUSTER_OK) || info.Page > 8191) {
        std::abort();
    }
    // The readers take the identity (and with it the feature tests) from the header.
    qel::TQEL629 qel629;
    qel::ReadConfigQEL629(info, cluster, qel629);
    qel::TQEL649 qel649;
    qel::ReadConfigQEL649(info, cluster, qel649);
    qel::TQEL629C qel629c;
    qel::ReadConfigQEL629C(info, cluster, qel629c);
    if (qel629c.Channels.Count() != qel::TQEL629C::ConfigChannelCount) {
        std::abort();
    }
    qel::TQEL57c qel57c;
    info.QEL_VER_PC = 0x0300;
    qel::ReadConfigQEL57(info, cluster, qel57c);
    return 0;
}
