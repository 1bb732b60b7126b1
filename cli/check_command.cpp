// SPDX-License-Identifier: GPL-3.0-or-later
#include "check/map_check.h"
#include "commands.h"
#include "common.h"
#include "document/map_file.h"

#include <iostream>
#include <map>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

namespace trelvik::cli {
namespace {

// Findings of one code listed in text before the rest is only counted.
constexpr std::size_t kShownPerCode = 5;

struct CheckOptions
{
    std::vector<std::string> Files;
    bool Json = false;
};

std::string PointText(const Finding &f)
{
    return f.At ? " (" + std::to_string(f.At->X) + ", " + std::to_string(f.At->Y) + ")" : "";
}

void PrintText(const std::string &file, const CheckReport &report)
{
    std::cout << Shown(file) << ": " << Summary(report) << '\n';
    std::map<std::string, std::size_t> shown;
    std::map<std::string, std::pair<std::size_t, Severity>> hidden;
    for (const Finding &f : report.Findings) {
        if (shown[f.Code]++ >= kShownPerCode) {
            auto &[count, level] = hidden[f.Code];
            ++count;
            level = f.Level;
            continue;
        }
        std::cout << "  " << SeverityName(f.Level) << ' ' << f.Code << PointText(f) << ": "
                  << f.Text << '\n';
    }
    for (const auto &[code, more] : hidden)
        std::cout << "  ... and " << more.first << " more " << SeverityName(more.second)
                  << (more.first == 1 ? " " : "s ") << code << '\n';
}

nlohmann::json ReportJson(const std::string &file, const CheckReport &report)
{
    nlohmann::json j;
    j["file"] = Shown(file);
    j["errors"] = report.Count(Severity::Error);
    j["warnings"] = report.Count(Severity::Warning);
    j["summary"] = Summary(report);
    j["findings"] = nlohmann::json::array();
    for (const Finding &f : report.Findings) {
        nlohmann::json item{{"severity", SeverityName(f.Level)}, {"code", f.Code}};
        if (f.At) {
            item["x"] = f.At->X;
            item["y"] = f.At->Y;
        }
        item["text"] = f.Text;
        if (f.Fix != CheckFix::None)
            item["fix"] = FixName(f.Fix);
        j["findings"].push_back(std::move(item));
    }
    return j;
}

} // namespace

void AddCheckCommand(CLI::App &app, CommandContext &ctx)
{
    auto options = std::make_shared<CheckOptions>();
    CLI::App *sub = app.add_subcommand(
        "check", "Look maps over for what the game will trip over (errors) and what is stale or "
                 "unusual (warnings). Exit 0 without errors, 1 with errors, 2 when a file "
                 "cannot be read");
    sub->add_option("MAP", options->Files, "Map files (.swd, .wld or .dat)")->required();
    sub->add_flag("--json", options->Json, "Print JSON (an array, one entry per map)");
    sub->callback([options, &ctx] {
        bool errors = false, unreadable = false;
        nlohmann::json all = nlohmann::json::array();
        for (const std::string &file : options->Files) {
            MapDocument document;
            const ReadResult read = ReadMapFile(file, document);
            if (!read.Ok()) {
                unreadable = true;
                if (options->Json)
                    all.push_back({{"file", Shown(file)}, {"unreadable", Shown(read.Message)}});
                else
                    Fail(read.Message);
                continue;
            }
            const CheckReport report = CheckMap(document);
            errors = errors || report.Count(Severity::Error) > 0;
            if (options->Json)
                all.push_back(ReportJson(file, report));
            else
                PrintText(file, report);
        }
        if (options->Json)
            std::cout << all.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) << '\n';
        ctx.ExitCode = unreadable ? kExitUsage : errors ? kExitMapError : kExitOk;
    });
}

} // namespace trelvik::cli
