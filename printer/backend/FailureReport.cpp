#include "printer/backend/FailureReport.h"

#include "printer/backend/BackendLog.h"
#include "printer/backend/PendingOutput.h"
#include "printer/backend/WriteAll.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace {

constexpr const char* EOL = "\r\n";

std::string Mebibytes(uint64_t nBytes) {
    return std::to_string(nBytes >> 20) + " MiB";
}

// What failed, in the user's words.
std::string Explanation(const JobFailure& failure, const JobLimits& limits) {
    switch (failure.kind) {
    case FailureKind::Interpreter:
        return "Das Dokument enthält einen PostScript-Fehler; der Interpreter hat die "
               "Umwandlung abgebrochen.";
    case FailureKind::Crashed:
        return "Der PostScript-Interpreter ist während der Umwandlung abgestürzt.";
    case FailureKind::TimedOut:
        return "Die Umwandlung hat länger als " + std::to_string(limits.wallClock.count() / 60000) +
               " Minuten gedauert und wurde abgebrochen.";
    case FailureKind::CpuLimit:
        return "Die Umwandlung hat mehr als " + std::to_string(limits.nCpuSeconds) +
               " Sekunden Rechenzeit gebraucht und wurde abgebrochen.";
    case FailureKind::FileTooLarge:
        return "Die PDF-Datei oder eine Hilfsdatei der Umwandlung wurde größer als " +
               Mebibytes(limits.nMaxFileBytes) + "; die Umwandlung wurde abgebrochen.";
    case FailureKind::FolderTooLarge:
        return "Die Hilfsdateien der Umwandlung wurden größer als " +
               Mebibytes(limits.nMaxFolderBytes) +
               " oder zu zahlreich; die Umwandlung "
               "wurde abgebrochen.";
    case FailureKind::OutOfMemory:
        return "Die Umwandlung hat mehr als " + Mebibytes(limits.nMaxMemoryBytes) +
               " Arbeitsspeicher gebraucht und wurde abgebrochen.";
    case FailureKind::WriteError:
        return "Die PDF-Datei konnte nicht vollständig geschrieben werden (ist der "
               "Datenträger voll?).";
    case FailureKind::NoPdf:
        return "Der Interpreter hat keine vollständige PDF-Datei erzeugt.";
    case FailureKind::NameTaken:
        return "Der Name der PDF-Datei und alle nummerierten Namen sind bereits vergeben.";
    case FailureKind::Cancelled:
        return "Der Druckauftrag wurde abgebrochen.";
    case FailureKind::CutShort:
        return "Das Programm hat den Druckauftrag nicht vollständig gesendet.";
    case FailureKind::Internal:
        break;
    }
    return "Die Umwandlung konnte nicht ausgeführt werden.";
}

std::string FormatTime(std::time_t when) {
    std::tm local{};
    char szTime[32] = "";
    if (localtime_r(&when, &local))
        std::strftime(szTime, sizeof szTime, "%d.%m.%Y %H:%M:%S", &local);
    return szTime;
}

} // namespace

std::string ReportName(const std::string& strName) {
    const size_t nDot = strName.rfind('.');
    return strName.substr(0, nDot) + ".log";
}

std::string FailureReportText(const ReportFacts& facts, const JobLimits& limits) {
    std::string strText = "\xEF\xBB\xBF";
    const auto line = [&](const std::string& strLine) { strText += strLine + EOL; };
    line("Veltrane Quillon: Die PDF-Datei wurde nicht erstellt.");
    line("");
    line("Ziel:          " + Printable(facts.strTarget, true));
    line("Druckauftrag:  " + Printable(facts.strJobId));
    line("Zeitpunkt:     " + FormatTime(facts.when));
    line("");
    line("Grund: " + Explanation(facts.failure, limits));
    line("Einzelheiten: " +
         Printable(facts.failure.strReason +
                       (facts.failure.strDetail.empty() ? "" : ": " + facts.failure.strDetail),
                   true));
    if (facts.interpreter.empty())
        return strText;
    line("");
    line("Meldungen des PostScript-Interpreters:");
    const size_t nKept = std::max<size_t>(limits.nReportLines, 2);
    const size_t nLines = facts.interpreter.size();
    for (size_t i = 0; i < nLines; ++i) {
        if (nLines > nKept && i == nKept / 2) {
            line("  [" + std::to_string(nLines - nKept) + " Zeilen ausgelassen]");
            i = nLines - (nKept - nKept / 2) - 1;
            continue;
        }
        line("  " + Printable(facts.interpreter[i], true));
    }
    return strText;
}

std::vector<std::string> FailureMessageLines(const ReportFacts& facts, const std::string& strReport,
                                             const JobLimits& limits) {
    return {"Die PDF-Datei „" + Printable(facts.strTarget, true) + "“ wurde nicht erstellt.",
            Explanation(facts.failure, limits),
            strReport.empty() ? "Es konnte kein Bericht geschrieben werden."
                              : "Der Bericht liegt unter „" + Printable(strReport, true) + "“."};
}

std::optional<std::string> WriteFailureReport(int nDirFd, const std::string& strTargetName,
                                              const std::string& strText, unsigned nNumberedNames,
                                              std::string& strError) {
    std::optional<PendingOutput> report = PendingOutput::Create(nDirFd, strError);
    if (!report)
        return std::nullopt;
    if (!WriteAll(report->Fd(), strText.data(), strText.size())) {
        strError = std::string("cannot write the report: ") + std::strerror(errno);
        return std::nullopt;
    }
    return report->Publish(ReportName(strTargetName), false, nNumberedNames, strError);
}
