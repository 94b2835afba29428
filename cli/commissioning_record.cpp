#include "cli/commissioning_record.h"

#include <nlohmann/json.hpp>

#include <bit>
#include <cstdio>
#include <map>

#include "workflow/record_table.h"
#include "cli/site_apply_report.h"
#include "link/controller_text.h"
#include "platform/time/clock.h"
#include "workflow/plan_file/delimited_text.h"

namespace lumaro {

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr const char* kTitle = "Lumaro commissioning record";

// Days from 1970-01-01 to a civil date (proleptic Gregorian).
std::int64_t DaysFromCivil(std::int64_t year, unsigned month, unsigned day) {
    year -= month <= 2;
    const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
    const auto yearOfEra = static_cast<unsigned>(year - era * 400);
    const unsigned dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const unsigned dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + static_cast<std::int64_t>(dayOfEra) - 719468;
}

std::string Interface(const platform::LocalAddress& pc) {
    const std::uint32_t mask = InNumberOrder(pc.mask);
    const int prefix = std::popcount(mask);
    const bool contiguous = prefix == 0 || mask == ~((std::uint32_t{1} << (32 - prefix)) - 1);
    return FormatAddress(pc.address) + "/" +
           (contiguous ? std::to_string(prefix) : FormatAddress(pc.mask));
}

std::string Interfaces(const CommissioningContext& context) {
    std::string text;
    for (const platform::LocalAddress& pc : context.interfaces) {
        text += (text.empty() ? "" : ", ") + Interface(pc);
    }
    return text;
}

std::string PlanReadAs(const CommissioningRecord& record) {
    return std::string(EncodingName(record.file.encoding)) + ", " + SeparatorName(record.file.separator) +
           "-separated, " + std::to_string(record.file.rows.size()) + " rows";
}

// The entries in the record's order: the plan's rows as the file has them, then the rest.
std::vector<std::size_t> RecordOrder(const SiteApplyPlan& plan) {
    std::map<std::size_t, std::size_t> byRow;
    std::vector<std::size_t> rest;
    for (std::size_t i = 0; i < plan.entries.size(); ++i) {
        if (plan.entries[i].planRow) {
            byRow[*plan.entries[i].planRow] = i;
        } else {
            rest.push_back(i);
        }
    }
    std::vector<std::size_t> order;
    for (const auto& [row, entry] : byRow) order.push_back(entry);
    order.insert(order.end(), rest.begin(), rest.end());
    return order;
}

// The values of the three moments, each as text or nothing.
struct Values {
    FieldValue ip, mask, gateway, mac, web;
};

FieldValue Text(const std::string& text) { return text; }

Values Before(const SiteEntry& entry) {
    if (!entry.listed) return {};
    const ControllerRecord& r = *entry.listed;
    return {Text(FormatAddress(r.ip)), Text(FormatAddress(r.mask)), Text(FormatAddress(r.gateway)),
            Text(FormatMac(r.mac)), Text(WebWord(WebServerEnabled(r.webPort)))};
}

Values Planned(const CommissioningRecord& record, const SiteEntry& entry) {
    if (entry.action == SiteAction::LeftAlone) return {};
    const SiteTarget& t = entry.target;
    if (entry.listed) {
        return {Text(FormatAddress(t.ip)), Text(FormatAddress(t.mask)), Text(FormatAddress(t.gateway)),
                {}, Text(WebWord(t.web))};
    }
    // Not listed: only what the row says.
    const SitePlanRow& row = record.file.rows[*entry.planRow];
    const auto address = [](const std::optional<Ipv4Address>& a) -> FieldValue {
        return a ? Text(FormatAddress(*a)) : FieldValue{};
    };
    return {address(row.ip), address(row.mask), address(row.gateway), {},
            row.web ? Text(WebWord(*row.web)) : FieldValue{}};
}

Values After(const SiteJudgement& judgement) {
    if (!judgement.after) return {};
    const ControllerRecord& r = *judgement.after;
    return {Text(FormatAddress(r.ip)), Text(FormatAddress(r.mask)), Text(FormatAddress(r.gateway)),
            Text(FormatMac(r.mac)), Text(WebWord(WebServerEnabled(r.webPort)))};
}

FieldValue ChangedAt(const SiteWriteOutcome& written) {
    if (written.end != SiteWriteEnd::Written || !written.changedAt) return {};
    return Text(FormatLocalTime(*written.changedAt));
}

FieldValue Clock(const SiteWriteOutcome& written) {
    if (!written.clockSet) return {};
    return Text(*written.clockSet ? "set" : "not set");
}

std::string CsvCell(const std::string& text) {
    RecordTable one{{text}, {}};
    std::string line = FormatCsv(one);
    return line.substr(0, line.size() - 2);  // without its CR LF
}

nlohmann::ordered_json Json(const FieldValue& value) {
    return std::visit(
        [](const auto& v) -> nlohmann::ordered_json {
            if constexpr (std::is_same_v<std::decay_t<decltype(v)>, std::monostate>) {
                return nullptr;
            } else {
                return v;
            }
        },
        value);
}

nlohmann::ordered_json JsonValues(const Values& values, bool withMac) {
    nlohmann::ordered_json object = nlohmann::ordered_json::object();
    object["ip"] = Json(values.ip);
    object["mask"] = Json(values.mask);
    object["gateway"] = Json(values.gateway);
    if (withMac) object["mac"] = Json(values.mac);
    object["web"] = Json(values.web);
    return object;
}

}  // namespace

std::string FormatLocalTime(std::int64_t secondsSince1970) {
    const std::optional<platform::CalendarTime> local = platform::ToLocalCalendar(secondsSince1970);
    if (!local) return {};
    const std::int64_t asIfUtc =
        DaysFromCivil(local->year, static_cast<unsigned>(local->month), static_cast<unsigned>(local->day)) * 86400 +
        local->hour * 3600 + local->minute * 60 + local->second;
    const std::int64_t offsetMinutes = (asIfUtc - secondsSince1970) / 60;
    const std::int64_t magnitude = offsetMinutes < 0 ? -offsetMinutes : offsetMinutes;
    char text[40];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d%c%02d:%02d", local->year,
                  local->month, local->day, local->hour, local->minute, local->second,
                  offsetMinutes < 0 ? '-' : '+', static_cast<int>(magnitude / 60),
                  static_cast<int>(magnitude % 60));
    return text;
}

std::string CommissioningRecordCsv(const CommissioningRecord& record) {
    const CommissioningContext& context = record.context;
    std::string out(kUtf8Bom);
    const auto field = [&](const std::string& name, const std::string& value) {
        out += CsvCell(name) + "," + CsvCell(value) + "\r\n";
    };
    out += CsvCell(kTitle) + "\r\n";
    field("time", FormatLocalTime(context.time));
    field("pc", context.pcName);
    field("interfaces", Interfaces(context));
    field("lumaro", context.version);
    field("plan", context.planFileName);
    field("plan read as", PlanReadAs(record));
    out += "\r\n";

    RecordTable table;
    table.fields = {"row", "serial"};
    for (const std::string& name : record.file.carriedColumns) table.fields.push_back(name);
    for (const char* moment : {"before", "planned", "after"}) {
        for (const char* value : {"Ip", "Mask", "Gateway", "Mac", "Web"}) {
            if (std::string(moment) == "planned" && std::string(value) == "Mac") continue;
            table.fields.push_back(std::string(moment) + value);
        }
    }
    for (const char* name : {"verdict", "reason", "changedAt"}) table.fields.push_back(name);
    if (context.syncTime) table.fields.push_back("clock");

    for (std::size_t i : RecordOrder(record.plan)) {
        const SiteEntry& entry = record.plan.entries[i];
        const SiteWriteOutcome& written = record.writes[i];
        const SiteJudgement& judgement = record.judgements[i];
        std::vector<FieldValue> row;
        if (entry.planRow) {
            const SitePlanRow& planRow = record.file.rows[*entry.planRow];
            row.push_back(std::uint64_t{planRow.fileRow});
            row.push_back(std::uint64_t{entry.serial});
            for (const std::string& carried : planRow.carried) row.push_back(carried);
        } else {
            row.push_back({});
            row.push_back(std::uint64_t{entry.serial});
            row.resize(row.size() + record.file.carriedColumns.size());
        }
        const Values before = Before(entry), planned = Planned(record, entry), after = After(judgement);
        for (const Values* values : {&before, &planned, &after}) {
            row.insert(row.end(), {values->ip, values->mask, values->gateway});
            if (values != &planned) row.push_back(values->mac);
            row.push_back(values->web);
        }
        row.push_back(Text(VerdictName(judgement.verdict)));
        row.push_back(Text(VerdictReason(entry, written, judgement)));
        row.push_back(ChangedAt(written));
        if (context.syncTime) row.push_back(Clock(written));
        table.rows.push_back(std::move(row));
    }
    return out + FormatCsv(table);
}

std::string CommissioningRecordJson(const CommissioningRecord& record) {
    const CommissioningContext& context = record.context;
    nlohmann::ordered_json json = nlohmann::ordered_json::object();
    json["record"] = kTitle;
    json["time"] = FormatLocalTime(context.time);
    json["pc"] = context.pcName;
    json["interfaces"] = nlohmann::ordered_json::array();
    for (const platform::LocalAddress& pc : context.interfaces) json["interfaces"].push_back(Interface(pc));
    json["lumaro"] = context.version;
    json["plan"] = context.planFileName;
    json["planReadAs"] = PlanReadAs(record);
    json["controllers"] = nlohmann::ordered_json::array();
    for (std::size_t i : RecordOrder(record.plan)) {
        const SiteEntry& entry = record.plan.entries[i];
        const SiteWriteOutcome& written = record.writes[i];
        const SiteJudgement& judgement = record.judgements[i];
        nlohmann::ordered_json controller = nlohmann::ordered_json::object();
        controller["row"] = entry.planRow ? nlohmann::ordered_json(record.file.rows[*entry.planRow].fileRow)
                                          : nlohmann::ordered_json(nullptr);
        controller["serial"] = entry.serial;
        nlohmann::ordered_json columns = nlohmann::ordered_json::object();
        for (std::size_t c = 0; c < record.file.carriedColumns.size(); ++c) {
            std::string name = record.file.carriedColumns[c];
            while (columns.contains(name)) name += " (again)";  // a name the header repeats
            columns[name] = entry.planRow ? nlohmann::ordered_json(record.file.rows[*entry.planRow].carried[c])
                                          : nlohmann::ordered_json(nullptr);
        }
        controller["columns"] = std::move(columns);
        controller["before"] = entry.listed ? JsonValues(Before(entry), true) : nlohmann::ordered_json(nullptr);
        controller["planned"] = entry.action == SiteAction::LeftAlone
                                    ? nlohmann::ordered_json(nullptr)
                                    : JsonValues(Planned(record, entry), false);
        controller["after"] = judgement.after ? JsonValues(After(judgement), true) : nlohmann::ordered_json(nullptr);
        controller["verdict"] = VerdictName(judgement.verdict);
        controller["reason"] = VerdictReason(entry, written, judgement);
        controller["changedAt"] = Json(ChangedAt(written));
        if (context.syncTime) controller["clock"] = Json(Clock(written));
        json["controllers"].push_back(std::move(controller));
    }
    return json.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
}

}  // namespace lumaro
