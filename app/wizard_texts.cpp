// The wizard's own messages in English and German.
#include "app/wizard_texts.h"

#include "foundations/language_switch.h"
#include "foundations/settings.h"

namespace qel {
namespace {

struct TTextPair {
    const char* English;
    const char* German;
};

TTextPair TextPair(TWizardText Text)
{
    switch (Text) {
    case TWizardText::NotACardFile:
        return {"This is not a file that can be read.", "Dies ist keine Datei, die gelesen werden kann."};
    case TWizardText::NoSamplesRead:
        return {"The selected records hold no measured values.",
                "Die gewählten Records enthalten keine Messwerte."};
    case TWizardText::FolderNotWritable:
        return {"The file cannot be written in this folder.",
                "Die Datei kann in diesem Verzeichnis nicht geschrieben werden."};
    case TWizardText::NoFileWritten:
        return {"No file has been written.", "Es wurde keine Datei geschrieben."};
    case TWizardText::BufferFolderUnusable:
        return {"The buffer folder %s cannot hold the program's buffer files.",
                "Der Pufferordner %s kann die Pufferdateien des Programms nicht aufnehmen."};
    }
    return {"", ""};
}

} // namespace

std::string WizardText(TWizardText Text)
{
    const TTextPair pair = TextPair(Text);
    return RegSettings.iRegLanguage == LANGUAGE_GERMAN ? pair.German : pair.English;
}

std::string WizardText(TWizardText Text, const std::string& Value)
{
    std::string text = WizardText(Text);
    if (const std::size_t at = text.find("%s"); at != std::string::npos) {
        text.replace(at, 2, Value);
    }
    return text;
}

} // namespace qel
