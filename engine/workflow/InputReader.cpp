#include "engine/workflow/InputReader.h"

#include <cerrno>
#include <exception>
#include <new>
#include <vector>

#include "engine/core/LibraryChromatogram.h"
#include "engine/options/SearchOptions.h"
#include "engine/platform/CFormat.h"
#include "engine/platform/MessageSink.h"
#include "engine/plugins/ReadFromDataFile.h"
#include "engine/core/Exceptions.h"
#include "engine/workflow/InputRICalibration.h"

namespace corvelin {

namespace {

// The message of a failed read for one use, as its page has always worded it.
struct CFailureMessage {
    const char* Text; // %s = the path
    const char* Caption;
    const char* NotSupportedCaption; // for a file no plug-in takes
    MessageIcon Icon;
};

CFailureMessage FailureMessageOf(InputUse use)
{
    switch (use) {
    case InputUse::SearchUnknown:
        return {"Error reading from Chromatogram file '%s'", "Corvelinscope", "Corvelinscope", MessageIcon::Stop};
    case InputUse::MatchMatrix:
    case InputUse::PeakMatchTable:
        return {"Error reading file %s", "", "", MessageIcon::None};
    case InputUse::ChromatogramMatch:
        return {"Error reading file %s", "Corvelinscope", "Corvelinscope", MessageIcon::Stop};
    case InputUse::SearchBrowse:
    case InputUse::SummaryFile:
        return {"'%s' could not be read.", "File Read Error", "\"Not Supported\" Read Error", MessageIcon::Exclamation};
    case InputUse::MassSpecBrowse:
    case InputUse::OverlayFile:
        return {"'%s' could not be read.", "File Read Error", "File Read Error", MessageIcon::Exclamation};
    case InputUse::ConversionBrowse:
        return {"Data file '%s' could not be read", "File Error", "File Error", MessageIcon::Stop};
    case InputUse::Conversion:
        return {"The chromatogramm '%s' could not be read", "Corvelinscope", "Corvelinscope", MessageIcon::Stop};
    }
    return {"'%s' could not be read.", "File Read Error", "File Read Error", MessageIcon::Exclamation};
}

bool IsCompare(InputUse use)
{
    return use == InputUse::SearchUnknown || use == InputUse::MatchMatrix || use == InputUse::PeakMatchTable ||
           use == InputUse::ChromatogramMatch;
}

// Keeps the messages of one read (the plug-in's and the plug-in layer's) instead of showing them; questions go on.
class CMessageCollector final : public MessageSink {
public:
    explicit CMessageCollector(MessageSink& outer) : m_outer(outer) {}
    void ShowMessage(const std::string& text, const std::string& caption, MessageIcon icon) override
    {
        Texts.push_back(text);
        m_shown.push_back({text, caption, icon});
    }
    bool AskYesNo(const std::string& text, const std::string& caption, MessageIcon icon) override
    {
        return m_outer.AskYesNo(text, caption, icon);
    }
    MessageAnswer AskYesNoCancel(const std::string& text, const std::string& caption, MessageIcon icon) override
    {
        return m_outer.AskYesNoCancel(text, caption, icon);
    }
    void Beep() override { m_outer.Beep(); }

    // A read that succeeded passes on what the reader said on the way (rows it left out, say).
    void PassOn() const
    {
        for (const Shown& shown : m_shown)
            m_outer.ShowMessage(shown.Text, shown.Caption, shown.Icon);
    }

    std::vector<std::string> Texts;

private:
    struct Shown {
        std::string Text;
        std::string Caption;
        MessageIcon Icon;
    };
    MessageSink& m_outer;
    std::vector<Shown> m_shown;
};

// The last non-empty line of a text: where the plug-in layer's messages put the reason ("Error = ...", the
// plug-in's "'file' is truncated: ...").
std::string LastLine(const std::string& text)
{
    std::size_t end = text.find_last_not_of("\r\n");
    if (end == std::string::npos)
        return {};
    const std::size_t start = text.find_last_of('\n', end);
    return text.substr(start == std::string::npos ? 0 : start + 1,
                       end + 1 - (start == std::string::npos ? 0 : start + 1));
}

} // namespace

std::string ReadFailureText(InputUse use, const std::string& path)
{
    return FormatC(FailureMessageOf(use).Text, path.c_str());
}

bool LacksRICalibration(const CLibraryChromatogram& chromatogram, const CSearchOptions& options)
{
    if (!options.RIMatching || chromatogram.RICalibration.GetCount() >= 2)
        return false;
    for (const auto& peak : chromatogram.Peaks)
        if (peak->RI > 0)
            return false;
    return true;
}

std::string RIWarningForFile(const std::string& path)
{
    return "Insufficient RI calibration data for file " + path +
           "\nIts RI values are unknown: the RI match values are not meaningful.";
}

std::string RIWarningForEntries(int lacking, int entryCount)
{
    return FormatC("Insufficient RI calibration data for %i of %i library entries\nTheir RI values are unknown: "
                   "their RI match values are not meaningful.",
                   lacking, entryCount);
}

CInputRead ReadInput(const std::string& path, const CSearchOptions& options, InputUse use, CLibraryChromatogram& target,
                     const CInputReadSettings& settings)
{
    CInputRead result;
    double minArea = IsCompare(use) && options.AreaThresholdOn ? options.AreaThreshold : 0.0;
    if (settings.MinAreaPercent >= 0)
        minArea = settings.MinAreaPercent;
    const CFailureMessage failure = FailureMessageOf(use);
    bool notSupported = false;
    std::string thrown;
    {
        CMessageCollector collector(Messages());
        CThreadMessageScope scope(&collector);
        try {
            result.Read = ReadFromDataFile(target, path, minArea, &result.DataSystemName, true) == 1;
        } catch (const CNotSupportedException& e) {
            notSupported = true;
            thrown = e.what();
            result.Code = e.Code();
        } catch (const CArchiveException& e) {
            thrown = e.what();
            result.Code = e.Code();
        } catch (const std::bad_alloc&) {
            throw; // out of memory is the program's trouble, not the file's: the job ends with it
        } catch (const std::exception& e) {
            thrown = e.what();
        }
        if (result.Code == ENOMEM)
            throw std::bad_alloc();
        if (!collector.Texts.empty())
            result.Reason = LastLine(collector.Texts.front());
        if (result.Read)
            collector.PassOn();
    }
    if (result.Reason.empty())
        result.Reason = LastLine(thrown);
    if (!result.Read) {
        target.Clear();
        std::string text = ReadFailureText(use, path);
        if (!result.Reason.empty())
            text += "\n" + result.Reason;
        if (settings.ShowFailure)
            ShowMessage(text, notSupported ? failure.NotSupportedCaption : failure.Caption, failure.Icon);
        return result;
    }
    if (!IsCompare(use))
        return result;
    const bool refuses = use == InputUse::MatchMatrix || use == InputUse::PeakMatchTable;
    if (NeedsInputRICalibration(result.DataSystemName, target) && (!refuses || options.RIMatching)) {
        if (refuses && options.RICalibration().GetCount() < 2) {
            result.Read = false;
            result.RIRefused = true;
            ShowMessage("Insufficient RI calibration data for file " + path, "Corvelinscope", MessageIcon::Exclamation);
            return result;
        }
        target.Recalibrate(options.RICalibration());
    }
    result.RIUnknown = LacksRICalibration(target, options);
    return result;
}

} // namespace corvelin
