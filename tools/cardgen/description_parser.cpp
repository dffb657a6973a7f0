// Reads a card description from text for the cardgen command.
#include "tools/cardgen/description_parser.h"

#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace qel::cardgen {

namespace {

class TLineError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

std::uint64_t ParseNumber(const std::string& text, std::uint64_t max)
{
    std::size_t used = 0;
    std::uint64_t value = 0;
    try {
        value = std::stoull(text, &used, 0);
    } catch (const std::exception&) {
        throw TLineError("not a number: " + text);
    }
    if (used != text.size() || text.starts_with('-')) {
        throw TLineError("not a number: " + text);
    }
    if (value > max) {
        throw TLineError("number out of range: " + text);
    }
    return value;
}

std::vector<std::uint8_t> ParseHex(const std::string& text)
{
    if (text.size() % 2 != 0) {
        throw TLineError("hex bytes need two digits each: " + text);
    }
    std::vector<std::uint8_t> bytes;
    for (std::size_t i = 0; i < text.size(); i += 2) {
        bytes.push_back(static_cast<std::uint8_t>(ParseNumber("0x" + text.substr(i, 2), 0xFF)));
    }
    return bytes;
}

std::vector<std::string> SplitOn(const std::string& text, char separator)
{
    std::vector<std::string> parts;
    std::string part;
    std::istringstream in(text);
    while (std::getline(in, part, separator)) {
        parts.push_back(part);
    }
    return parts;
}

// Words after the statement name: "key=value" options and bare flags.
class TOptions {
public:
    explicit TOptions(const std::vector<std::string>& words, std::size_t from)
    {
        for (std::size_t i = from; i < words.size(); ++i) {
            const auto eq = words[i].find('=');
            if (eq == std::string::npos) {
                FFlags.push_back(words[i]);
            } else {
                FValues[words[i].substr(0, eq)] = words[i].substr(eq + 1);
            }
        }
    }
    bool Flag(const std::string& name)
    {
        for (auto it = FFlags.begin(); it != FFlags.end(); ++it) {
            if (*it == name) {
                FFlags.erase(it);
                return true;
            }
        }
        return false;
    }
    bool Has(const std::string& key) const { return FValues.count(key) != 0; }
    std::string Text(const std::string& key)
    {
        auto it = FValues.find(key);
        if (it == FValues.end()) {
            throw TLineError("missing " + key + "=");
        }
        std::string value = it->second;
        FValues.erase(it);
        return value;
    }
    std::uint64_t Number(const std::string& key, std::uint64_t max) { return ParseNumber(Text(key), max); }
    std::uint64_t Number(const std::string& key, std::uint64_t max, std::uint64_t fallback)
    {
        return Has(key) ? Number(key, max) : fallback;
    }
    // Every word must have been used.
    void Done() const
    {
        if (!FFlags.empty()) {
            throw TLineError("unknown word: " + FFlags.front());
        }
        if (!FValues.empty()) {
            throw TLineError("unknown option: " + FValues.begin()->first);
        }
    }

private:
    std::vector<std::string> FFlags;
    std::map<std::string, std::string> FValues;
};

std::shared_ptr<IPageBody> ParseFourByteBody(const std::string& text)
{
    const auto parts = SplitOn(text, ':');
    if (parts.size() != 4 || (parts[0] != "v1" && parts[0] != "v3")) {
        throw TLineError("four-byte=<v1|v3>:<channels>:<rows>:<step> expected");
    }
    std::vector<std::uint8_t> channels;
    for (const auto& channel : SplitOn(parts[1], ',')) {
        channels.push_back(static_cast<std::uint8_t>(ParseNumber(channel, 14)));
    }
    const auto layout = parts[0] == "v1" ? TFourByteRecordBody::TLayout::RecordsAt8 : TFourByteRecordBody::TLayout::SkipTwoBytes;
    const auto rows = static_cast<std::uint32_t>(ParseNumber(parts[2], 262));
    const auto step = static_cast<std::int16_t>(ParseNumber(parts[3], 1023));
    return std::make_shared<TFourByteRecordBody>(layout, channels, rows, step,
        [rows](std::uint32_t page, std::uint32_t row, std::uint8_t channel) {
            return static_cast<std::int16_t>((page * rows + row) * 16 + channel);
        });
}

class TParser {
public:
    TCardDescription Parse(std::istream& text)
    {
        std::string line;
        int number = 0;
        while (std::getline(text, line)) {
            ++number;
            try {
                Statement(line);
            } catch (const TLineError& error) {
                throw std::runtime_error("line " + std::to_string(number) + ": " + error.what());
            }
        }
        return std::move(FDescription);
    }

private:
    void Statement(std::string line)
    {
        if (const auto hash = line.find('#'); hash != std::string::npos) {
            line.erase(hash);
        }
        std::istringstream in(line);
        std::vector<std::string> words;
        for (std::string word; in >> word;) {
            words.push_back(word);
        }
        if (words.empty()) {
            return;
        }
        const std::string& name = words[0];
        if (name == "containers") {
            Need(words, 2, 2);
            FDescription.ClustersPerContainer = ParseNumber(words[1], UINT64_MAX);
        } else if (name == "logger") {
            Logger(words);
        } else if (name == "recording") {
            Recording(words);
        } else if (name == "place") {
            Need(words, 2);
            TOptions options(words, 2);
            TPlaceRecording place;
            place.Recording = RecordingIndex(words[1]);
            place.FromPage = static_cast<std::uint32_t>(options.Number("from", UINT32_MAX, 0));
            if (options.Has("count")) {
                place.Count = static_cast<std::uint32_t>(options.Number("count", UINT32_MAX));
            }
            options.Done();
            FDescription.Layout.emplace_back(place);
        } else if (name == "repeat") {
            Need(words, 3, 3);
            TOptions options(words, 2);
            FDescription.Layout.emplace_back(TRepeatPage{RecordingIndex(words[1]), static_cast<std::uint32_t>(options.Number("page", UINT32_MAX))});
            options.Done();
        } else if (name == "junk") {
            Need(words, 2);
            TOptions options(words, 2);
            TJunkClusters junk;
            junk.Count = static_cast<std::uint32_t>(ParseNumber(words[1], UINT32_MAX));
            junk.Fill = options.Flag("zero") ? TJunk::Zero : TJunk::Random;
            options.Flag("random");
            junk.Seed = options.Number("seed", UINT64_MAX, 1);
            options.Done();
            FDescription.Layout.emplace_back(junk);
        } else if (name == "end-container") {
            Need(words, 1, 1);
            FDescription.Layout.emplace_back(TEndContainer{});
        } else if (name == "trailing") {
            Need(words, 2, 2);
            FDescription.Layout.emplace_back(TTrailingBytes{static_cast<std::uint32_t>(ParseNumber(words[1], kClusterSize - 1))});
        } else {
            throw TLineError("unknown statement: " + name);
        }
    }

    // The statement has between `least` and `most` words, its name included.
    static void Need(const std::vector<std::string>& words, std::size_t least, std::size_t most = SIZE_MAX)
    {
        if (words.size() < least || words.size() > most) {
            throw TLineError("wrong number of words for " + words[0]);
        }
    }

    void Logger(const std::vector<std::string>& words)
    {
        Need(words, 2);
        TOptions options(words, 2);
        TLoggerDescription logger;
        logger.ModelCode = static_cast<std::uint16_t>(options.Number("model", 0xFFFF));
        logger.FirmwareVersion = static_cast<std::uint16_t>(options.Number("fw", 0xFFFF));
        logger.PcVersion = static_cast<std::uint16_t>(options.Number("pc", 0xFFFF, logger.FirmwareVersion));
        logger.Serial = static_cast<std::uint32_t>(options.Number("sn", UINT32_MAX));
        if (options.Has("config")) {
            logger.Config = ParseHex(options.Text("config"));
            if (logger.Config.size() > kConfigSize) {
                throw TLineError("configuration longer than 396 bytes");
            }
        }
        options.Done();
        if (!FLoggers.emplace(words[1], logger).second) {
            throw TLineError("logger named twice: " + words[1]);
        }
    }

    void Recording(const std::vector<std::string>& words)
    {
        Need(words, 2);
        TOptions options(words, 2);
        TRecordingDescription recording;
        const std::string loggerName = options.Text("logger");
        const auto logger = FLoggers.find(loggerName);
        if (logger == FLoggers.end()) {
            throw TLineError("unknown logger: " + loggerName);
        }
        recording.Logger = logger->second;
        recording.PageCount = static_cast<std::uint32_t>(options.Number("pages", UINT32_MAX));
        recording.FirstPageNo = static_cast<std::uint16_t>(options.Number("first-page", kMaxPageNo, 0));
        if (options.Has("start-page")) {
            recording.StartPageNo = static_cast<std::uint16_t>(options.Number("start-page", 0xFFFF));
        }
        recording.StartTimeUnits = options.Number("time", (std::uint64_t{1} << 40) - 1, 1);
        recording.TimeStepUnits = options.Number("step", UINT32_MAX, 1);
        recording.BeginsWithStartPage = !options.Flag("no-start");
        recording.Kind = static_cast<std::uint8_t>(options.Number("kind", 0xFF, 0x82));
        recording.ShockPages = options.Flag("shock");
        if (options.Has("records")) {
            recording.Body = std::make_shared<TRawPageBody>(ParseHex(options.Text("records")));
        } else if (options.Has("four-byte")) {
            recording.Body = ParseFourByteBody(options.Text("four-byte"));
        }
        options.Done();
        if (!FRecordingIndex.emplace(words[1], FDescription.Recordings.size()).second) {
            throw TLineError("recording named twice: " + words[1]);
        }
        FDescription.Recordings.push_back(recording);
    }

    std::size_t RecordingIndex(const std::string& name) const
    {
        const auto it = FRecordingIndex.find(name);
        if (it == FRecordingIndex.end()) {
            throw TLineError("unknown recording: " + name);
        }
        return it->second;
    }

    TCardDescription FDescription;
    std::map<std::string, TLoggerDescription> FLoggers;
    std::map<std::string, std::size_t> FRecordingIndex;
};

} // namespace

TCardDescription ParseCardDescription(std::istream& text)
{
    return TParser().Parse(text);
}

} // namespace qel::cardgen
