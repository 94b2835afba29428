// Windows Firewall through its COM objects: HNetCfg.FwPolicy2 for the profiles and their
// rules, the network list manager for the categories of the connected networks. Every call
// that fails leaves its answer unknown.

#include <windows.h>
#include <netfw.h>
#include <netlistmgr.h>
#include <oleauto.h>

#include <array>
#include <cstdint>
#include <string>
#include <utility>

#include "platform/system/com_apartment.h"
#include "platform/system/firewall.h"
#include "platform/shell/utf8_win32.h"

namespace lumaro::platform {

namespace {

// One reference to a COM object, released when it goes.
template <class Interface>
class ComReference {
public:
    ComReference() = default;
    ~ComReference() {
        if (pointer_ != nullptr) pointer_->Release();
    }
    ComReference(const ComReference&) = delete;
    ComReference& operator=(const ComReference&) = delete;

    Interface* operator->() const { return pointer_; }
    Interface* Get() const { return pointer_; }
    explicit operator bool() const { return pointer_ != nullptr; }
    // Where a call stores a new reference.
    Interface** Out() { return &pointer_; }
    void** OutVoid() { return reinterpret_cast<void**>(&pointer_); }

private:
    Interface* pointer_ = nullptr;
};

class BstrText {
public:
    ~BstrText() { SysFreeString(text_); }
    BSTR* Out() { return &text_; }
    std::wstring Wide() const { return text_ ? std::wstring(text_, SysStringLen(text_)) : L""; }

private:
    BSTR text_ = nullptr;
};

// A new COM object of class `type`, asked for `Interface`; false when there is none.
template <class Interface>
bool CreateObject(const CLSID& type, DWORD context, ComReference<Interface>& object) {
    return SUCCEEDED(CoCreateInstance(type, nullptr, context, __uuidof(Interface),
                                      object.OutVoid())) &&
           object;
}

std::optional<bool> Answer(HRESULT result, VARIANT_BOOL value) {
    if (FAILED(result)) return std::nullopt;
    return value != VARIANT_FALSE;
}

std::wstring Lowered(std::wstring text) {
    if (!text.empty()) CharLowerBuffW(text.data(), static_cast<DWORD>(text.size()));
    return text;
}

// A rule's program path with its environment variables (%ProgramFiles%...) expanded.
std::wstring ExpandedPath(const std::wstring& path) {
    wchar_t expanded[MAX_PATH * 2];
    const DWORD length = ExpandEnvironmentStringsW(path.c_str(), expanded, MAX_PATH * 2);
    if (length == 0 || length > MAX_PATH * 2) return path;
    return expanded;
}

std::wstring ThisProgram() {
    wchar_t path[MAX_PATH * 2];
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH * 2);
    return std::wstring(path, length);
}

constexpr std::array<std::pair<NET_FW_PROFILE_TYPE2, const char*>, 3> kProfiles{{
    {NET_FW_PROFILE2_DOMAIN, "domain"},
    {NET_FW_PROFILE2_PRIVATE, "private"},
    {NET_FW_PROFILE2_PUBLIC, "public"},
}};
static_assert(NET_FW_PROFILE2_DOMAIN == kDomainProfile &&
              NET_FW_PROFILE2_PRIVATE == kPrivateProfile &&
              NET_FW_PROFILE2_PUBLIC == kPublicProfile);
constexpr int kNoCategory = -1;

// The rule's facts when it is an inbound rule for `program` (lower-cased); nothing otherwise
// or when a fact cannot be read.
std::optional<FirewallRule> ProgramRule(INetFwRule* rule, const std::wstring& program) {
    BstrText application;
    NET_FW_RULE_DIRECTION direction{};
    if (FAILED(rule->get_ApplicationName(application.Out())) ||
        Lowered(ExpandedPath(application.Wide())) != program ||
        FAILED(rule->get_Direction(&direction)) || direction != NET_FW_RULE_DIR_IN) {
        return std::nullopt;
    }
    BstrText name;
    VARIANT_BOOL enabled = VARIANT_FALSE;
    NET_FW_ACTION action{};
    LONG profiles = 0;
    LONG protocol = 0;
    if (FAILED(rule->get_Name(name.Out())) || FAILED(rule->get_Enabled(&enabled)) ||
        FAILED(rule->get_Action(&action)) || FAILED(rule->get_Profiles(&profiles)) ||
        FAILED(rule->get_Protocol(&protocol))) {
        return std::nullopt;
    }
    return FirewallRule{Utf8FromWide(name.Wide()), enabled != VARIANT_FALSE,
                        action == NET_FW_ACTION_BLOCK, static_cast<std::uint32_t>(profiles),
                        static_cast<int>(protocol)};
}

// Every inbound rule for this program; empty when the rules cannot be read.
std::optional<std::vector<FirewallRule>> ProgramRules(INetFwPolicy2* policy) {
    ComReference<INetFwRules> rules;
    if (FAILED(policy->get_Rules(rules.Out())) || !rules) return std::nullopt;
    ComReference<IUnknown> enumeration;
    if (FAILED(rules->get__NewEnum(enumeration.Out())) || !enumeration) return std::nullopt;
    ComReference<IEnumVARIANT> each;
    if (FAILED(enumeration->QueryInterface(IID_IEnumVARIANT, each.OutVoid())) || !each) {
        return std::nullopt;
    }
    const std::wstring program = Lowered(ThisProgram());
    std::vector<FirewallRule> found;
    VARIANT item;
    VariantInit(&item);
    ULONG fetched = 0;
    while (each->Next(1, &item, &fetched) == S_OK && fetched == 1) {
        ComReference<INetFwRule> rule;
        if (item.vt == VT_DISPATCH && item.pdispVal != nullptr &&
            SUCCEEDED(item.pdispVal->QueryInterface(__uuidof(INetFwRule), rule.OutVoid()))) {
            if (auto facts = ProgramRule(rule.Get(), program)) found.push_back(std::move(*facts));
        }
        VariantClear(&item);
    }
    return found;
}

std::optional<std::vector<FirewallProfile>> ActiveProfiles(INetFwPolicy2* policy) {
    long active = 0;
    if (FAILED(policy->get_CurrentProfileTypes(&active))) return std::nullopt;
    std::vector<FirewallProfile> profiles;
    for (const auto& [type, name] : kProfiles) {
        if ((active & type) == 0) continue;
        FirewallProfile profile;
        profile.name = name;
        profile.bit = static_cast<std::uint32_t>(type);
        VARIANT_BOOL enabled = VARIANT_FALSE;
        profile.enabled = Answer(policy->get_FirewallEnabled(type, &enabled), enabled);
        NET_FW_ACTION inbound{};
        if (SUCCEEDED(policy->get_DefaultInboundAction(type, &inbound))) {
            profile.inboundBlocked = inbound == NET_FW_ACTION_BLOCK;
        }
        VARIANT_BOOL repliesDisabled = VARIANT_FALSE;
        if (const auto disabled = Answer(
                policy->get_UnicastResponsesToMulticastBroadcastDisabled(type, &repliesDisabled),
                repliesDisabled)) {
            profile.unicastRepliesAllowed = !*disabled;
        }
        profiles.push_back(profile);
    }
    return profiles;
}

std::optional<std::vector<ConnectedNetwork>> ConnectedNetworks() {
    ComReference<INetworkListManager> manager;
    if (!CreateObject(__uuidof(NetworkListManager), CLSCTX_ALL, manager)) return std::nullopt;
    ComReference<IEnumNetworks> each;
    if (FAILED(manager->GetNetworks(NLM_ENUM_NETWORK_CONNECTED, each.Out())) || !each) {
        return std::nullopt;
    }
    std::vector<ConnectedNetwork> networks;
    for (;;) {
        ComReference<INetwork> network;
        ULONG fetched = 0;
        if (each->Next(1, network.Out(), &fetched) != S_OK || fetched != 1) break;
        ConnectedNetwork entry;
        BstrText name;
        if (SUCCEEDED(network->GetName(name.Out()))) entry.name = Utf8FromWide(name.Wide());
        // Windows names every network ("Network", "Unidentified network"); Wine's stand-in
        // has no name, and its category call succeeds with a fixed answer: unknown then.
        // Otherwise only a value that the call wrote counts.
        auto category = static_cast<NLM_NETWORK_CATEGORY>(kNoCategory);
        if (!entry.name.empty() && SUCCEEDED(network->GetCategory(&category)) &&
            (category == NLM_NETWORK_CATEGORY_PUBLIC || category == NLM_NETWORK_CATEGORY_PRIVATE ||
             category == NLM_NETWORK_CATEGORY_DOMAIN_AUTHENTICATED)) {
            entry.isPublic = category == NLM_NETWORK_CATEGORY_PUBLIC;
        }
        networks.push_back(entry);
    }
    return networks;
}

}  // namespace

FirewallState ReadFirewallState() {
    FirewallState state;
    state.asked = true;
    state.program = Utf8FromWide(ThisProgram());
    const ComApartment apartment;
    if (!apartment.Usable()) return state;
    ComReference<INetFwPolicy2> policy;
    if (CreateObject(__uuidof(NetFwPolicy2), CLSCTX_INPROC_SERVER, policy)) {
        state.activeProfiles = ActiveProfiles(policy.Get());
        state.programRules = ProgramRules(policy.Get());
    }
    state.networks = ConnectedNetworks();
    return state;
}

}  // namespace lumaro::platform
