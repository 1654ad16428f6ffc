#include "profiles/profiles.h"

#include <iterator>

namespace qelvane {

namespace {

// One branch, on the web-server answer as it stands when the run gets there.
constexpr ProfileRow kRows[] = {
    {kAlways, {"Alerter", NetVerb::Stop, StartMode::Disabled, "1:Alerter:禁用"}},
    {kAlways, {"ALG", NetVerb::Stop, StartMode::Disabled, "2:Application Layer Gateway Service:禁用"}},
    {kAlways, {"aspnet_state", NetVerb::Stop, StartMode::Demand, "3.1:ASP.NET State Service:手动"}},
    {kAlways, {"\"Ati HotKey Poller\"", NetVerb::Stop, StartMode::Disabled, "3.2:Ati HotKey Poller:禁用"}},
    {kAlways, {"\"ATI Smart\"", NetVerb::Stop, StartMode::Disabled, "3.3:ATI Smart:禁用"}},
    {kAlways, {"wuauserv", NetVerb::Stop, StartMode::Disabled, "4:automatic updates:禁用"}},
    {kAlways, {"BITS", NetVerb::Stop, StartMode::Disabled, "5:Background Intelligent Transfer Service:禁用"}},
    {kAlways, {"ClipSrv", NetVerb::Stop, StartMode::Disabled, "6:ClipBook:禁用"}},
    {IfNo(1, Answer::HostsWebServer), {"COMSysApp", NetVerb::Stop, StartMode::Disabled, "8:COM+ System Application:禁用"}},
    {IfYes(1, Answer::HostsWebServer), {"COMSysApp", NetVerb::Start, StartMode::Auto, "8:COM+ System Application:自动"}},
    {kAlways, {"CryptSvc", NetVerb::Stop, StartMode::Demand, "10:Cryptographic Services:手动"}},
    {kAlways, {"TrkWks", NetVerb::Stop, StartMode::Disabled, "14:Distributed Link Tracking Client:禁用"}},
    {kAlways, {"MSDTC", NetVerb::Stop, StartMode::Disabled, "15:Distributed Transaction Coordinator:禁用"}},
    {kAlways, {"ERSvc", NetVerb::Stop, StartMode::Disabled, "17:Error Reporting Service:禁用"}},
    {kAlways, {"FastUserSwitchingCompatibility", NetVerb::Stop, StartMode::Disabled, "19:Fast User Switching Compatibility:禁用"}},
    {kAlways, {"helpsvc", NetVerb::Stop, StartMode::Disabled, "20:Help and Support:禁用"}},
    {kAlways, {"HTTPFilter", NetVerb::Stop, StartMode::Demand, "21:HTTP SSL:手动"}},
    {kAlways, {"HidServ", NetVerb::Stop, StartMode::Disabled, "22:Human Interface Device Access:禁用"}},
    {kAlways, {"ImapiService", NetVerb::None, StartMode::Demand, "23:IMAPI CD-Burning COM Service:手动"}},
    {kAlways, {"CiSvc", NetVerb::Stop, StartMode::Disabled, "24:Indexing Service:禁用"}},
    {kAlways, {"PolicyAgent", NetVerb::Stop, StartMode::Disabled, "25:IPSEC Services:禁用"}},
    {kAlways, {"dmadmin", NetVerb::Stop, StartMode::Disabled, "27:Logical Disk Manager Administrative Service:禁用"}},
    {kAlways, {"Messenger", NetVerb::Stop, StartMode::Disabled, "28:Messenger:禁用"}},
    {kAlways, {"SwPrv", NetVerb::Stop, StartMode::Disabled, "29:MS Software Shadow Copy Provider:禁用"}},
    {kAlways, {"Netlogon", NetVerb::Stop, StartMode::Demand, "30:Net Logon:手动"}},
    {kAlways, {"mnmsrvc", NetVerb::Stop, StartMode::Demand, "31:NetMeeting Remote Desktop Sharing:手动"}},
    {kAlways, {"NetDDE", NetVerb::Stop, StartMode::Disabled, "33:Network DDE:禁用"}},
    {kAlways, {"NetDDEdsdm", NetVerb::Stop, StartMode::Demand, "34:Network DDE DSDM:手动"}},
    {kAlways, {"Nla", NetVerb::Stop, StartMode::Demand, "35:Network Location Awareness (NLA):手动"}},
    {kAlways, {"xmlprov", NetVerb::Stop, StartMode::Disabled, "36:Network Provisioning Service:禁用"}},
    {kAlways, {"NtLmSsp", NetVerb::Stop, StartMode::Demand, "37:NT LM Security Support Provider:手动"}},
    {kAlways, {"NVSvc", NetVerb::Stop, StartMode::Disabled, "38:NVIDIA Driver Helper Service:禁用"}},
    {kAlways, {"ose", NetVerb::Stop, StartMode::Demand, "38.1:Office Source Engine:手动"}},
    {kAlways, {"Sysmonlog", NetVerb::Stop, StartMode::Disabled, "39:Performance Logs and Alerts:禁用"}},
    {kAlways, {"WmDmPmSN", NetVerb::Stop, StartMode::Disabled, "41:Portable Media Serial Number Service:禁用"}},
    {kAlways, {"Spooler", NetVerb::None, StartMode::Demand, "42:Print Spooler:手动"}},
    {kAlways, {"RSVP", NetVerb::Stop, StartMode::Demand, "44:QoS RSVP:手动"}},
    {kAlways, {"RasAuto", NetVerb::Stop, StartMode::Demand, "45:Remote Access Auto Connection Manager:手动"}},
    {kAlways, {"RDSessMgr", NetVerb::Stop, StartMode::Demand, "47:Remote Desktop Help Session Manager:手动"}},
    {kAlways, {"RemoteRegistry", NetVerb::Stop, StartMode::Disabled, "50:Remote Registry:禁用"}},
    {kAlways, {"NtmsSvc", NetVerb::Stop, StartMode::Demand, "51:Removable Storage:手动"}},
    {kAlways, {"RemoteAccess", NetVerb::Stop, StartMode::Disabled, "52:Routing and Remote Access:禁用"}},
    {kAlways, {"SCardSvr", NetVerb::Stop, StartMode::Disabled, "58:Smart Card:禁用"}},
    {kAlways, {"SSDPSRV", NetVerb::Stop, StartMode::Disabled, "59:SSDP Discovery Service:禁用"}},
    {kAlways, {"SENS", NetVerb::Stop, StartMode::Disabled, "60:System Event Notification:禁用"}},
    {kAlways, {"srservice", NetVerb::Stop, StartMode::Disabled, "61:System Restore Service:禁用"}},
    {kAlways, {"Schedule", NetVerb::Stop, StartMode::Disabled, "62:Task Scheduler:禁用"}},
    {kAlways, {"LmHosts", NetVerb::Stop, StartMode::Demand, "63:TCP/IP NetBIOS Helper:手动"}},
    {kAlways, {"TlntSvr", NetVerb::Stop, StartMode::Disabled, "65:Telnet:禁用"}},
    {kAlways, {"TermService", NetVerb::Stop, StartMode::Disabled, "66:Terminal Services:禁用"}},
    {kAlways, {"UPS", NetVerb::Stop, StartMode::Disabled, "68:Uninterruptible Power Supply:禁用"}},
    {kAlways, {"VSS", NetVerb::Stop, StartMode::Disabled, "70:Volume Shadow Copy:禁用"}},
    {kAlways, {"WebClient", NetVerb::Stop, StartMode::Disabled, "71:WebClient:禁用"}},
    {kAlways, {"stisvc", NetVerb::None, StartMode::Demand, "74:Windows Image Acquisition (WIA):手动"}},
    {kAlways, {"MSIServer", NetVerb::Stop, StartMode::Demand, "75:Windows Installer:手动"}},
    {kAlways, {"WMI", NetVerb::Stop, StartMode::Demand, "77:Windows Management Instrumentation Driver Extensions:手动"}},
    {kAlways, {"W32Time", NetVerb::Stop, StartMode::Disabled, "78:Windows Time:禁用"}},
    {kAlways, {"UMWdf", NetVerb::Stop, StartMode::Disabled, "78.1:Windows User Mode Driver Framework:禁用"}},
    {kAlways, {"WZCSVC", NetVerb::Stop, StartMode::Demand, "79:Wireless Zero Configuration:手动"}},
    {kAlways, {"WmiApSrv", NetVerb::Stop, StartMode::Disabled, "80:WMI Performance Adapter:禁用"}},
};

static_assert(std::size(kRows) == 60);
// FinishRun takes the last row whatever the answers.
static_assert(kRows[std::size(kRows) - 1].when.test == 0);

}  // namespace

const Profile& AutomaticProfile() {
    static const Profile profile(kRows);
    return profile;
}

}  // namespace qelvane
