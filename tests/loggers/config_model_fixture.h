// Helpers of the configurable-model tests: version words, and channels and
// tasks added to a model's own lists.
#pragma once

#include "logger_test_env.h"

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <type_traits>
#include <utility>

namespace qel::config_test {

constexpr std::uint16_t V(int major, int minor)
{
    return static_cast<std::uint16_t>(major << 8 | minor);
}

// Appends a channel of the model's own copy with this description.
template <class Model>
auto& AddChannel(Model& logger, std::string name, std::string unit = "", std::uint16_t chID = 0)
{
    using Channel = std::remove_reference_t<decltype(logger.Channels.GetItem(0))>;
    auto channel = std::make_unique<Channel>();
    channel->Info.sName = std::move(name);
    channel->Info.sUnit = std::move(unit);
    channel->Info.chID = chID;
    Channel& added = *channel;
    logger.Channels.Add(channel.release());
    return added;
}

// Appends a task holding these channel numbers.
template <class Model>
auto& AddTask(Model& logger, std::initializer_list<std::int32_t> channels)
{
    using Task = std::remove_reference_t<decltype(logger.Tasks.GetItem(0))>;
    auto task = std::make_unique<Task>();
    for (std::int32_t channel : channels) {
        task->AddChannel(channel);
    }
    Task& added = *task;
    logger.Tasks.Add(task.release());
    return added;
}

} // namespace qel::config_test
