// Readers of the logger configuration copy in a cluster (bytes 78 on): each
// fills the logger object of its family with the identity of the record's
// first cluster and the configuration, so the model can name and scale the channels.
#pragma once

#include "card/cluster_header.h"
#include "loggers/qel_base.h"

namespace qel {

// Each reader first sets ID_CLASS, ID_VER, ID_VER_PC and SN from info. A
// logger of another class than the family's raises std::bad_cast (the
// QEL57 class follows ID_VER_PC: TQEL57 below 0x0200, TQEL57b below 0x0300,
// TQEL57c from 0x0300). Reads only inside the cluster.
void ReadConfigQEL629(const TCardClusterInfo& info, TCardClusterView cluster, TQEL& logger);
void ReadConfigQEL629C(const TCardClusterInfo& info, TCardClusterView cluster, TQEL& logger);
void ReadConfigQEL649(const TCardClusterInfo& info, TCardClusterView cluster, TQEL& logger);
void ReadConfigQEL57(const TCardClusterInfo& info, TCardClusterView cluster, TQEL& logger);

} // namespace qel
