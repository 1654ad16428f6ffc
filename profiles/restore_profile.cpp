#include "profiles/profiles.h"

#include <iterator>

namespace qelvane {

namespace {

// No branches: every restore launches the same command lines, whatever the answers.
constexpr ProfileRow kRows[] = {
    {kAlways, {"Alerter", NetVerb::Stop, StartMode::Disabled, "1:Alerter:禁用"}},
    {kAlways, {"ALG", NetVerb::None, StartMode::Demand, "2:Application Layer Gateway Service:手动"}},
    {kAlways, {"aspnet_state", NetVerb::None, StartMode::Demand, "3.1:ASP.NET State Service:手动"}},
    {kAlways, {"\"Ati HotKey Poller\"", NetVerb::None, StartMode::Demand, "3.2:Ati HotKey Poller:手动"}},
    {kAlways, {"\"ATI Smart\"", NetVerb::None, StartMode::Demand, "3.3:ATI Smart:手动"}},
    {kAlways, {"wuauserv", NetVerb::Start, StartMode::Auto, "4:automatic updates:自动"}},
    {kAlways, {"BITS", NetVerb::None, StartMode::Demand, "5:Background Intelligent Transfer Service:手动"}},
    {kAlways, {"ClipSrv", NetVerb::Stop, StartMode::Disabled, "6:ClipBook:禁用"}},
    {kAlways, {"COMSysApp", NetVerb::None, StartMode::Demand, "8:COM+ System Application:手动"}},
    {kAlways, {"CryptSvc", NetVerb::Start, StartMode::Auto, "10:Cryptographic Services:自动"}},
    {kAlways, {"TrkWks", NetVerb::Start, StartMode::Auto, "14:Distributed Link Tracking Client:自动"}},
    {kAlways, {"MSDTC", NetVerb::None, StartMode::Demand, "15:Distributed Transaction Coordinator:手动"}},
    {kAlways, {"ERSvc", NetVerb::Start, StartMode::Auto, "17:Error Reporting Service:自动"}},
    {kAlways, {"FastUserSwitchingCompatibility", NetVerb::None, StartMode::Demand, "19:Fast User Switching Compatibility:手动"}},
    {kAlways, {"helpsvc", NetVerb::Start, StartMode::Auto, "20:Help and Support:自动"}},
    {kAlways, {"HTTPFilter", NetVerb::None, StartMode::Demand, "21:HTTP SSL:手动"}},
    {kAlways, {"HidServ", NetVerb::Stop, StartMode::Disabled, "22:Human Interface Device Access:禁用"}},
    {kAlways, {"ImapiService", NetVerb::None, StartMode::Demand, "23:IMAPI CD-Burning COM Service:手动"}},
    {kAlways, {"CiSvc", NetVerb::None, StartMode::Demand, "24:Indexing Service:手动"}},
    {kAlways, {"PolicyAgent", NetVerb::Start, StartMode::Auto, "25:IPSEC Services:自动"}},
    {kAlways, {"dmadmin", NetVerb::None, StartMode::Demand, "27:Logical Disk Manager Administrative Service:手动"}},
    {kAlways, {"Messenger", NetVerb::Stop, StartMode::Disabled, "28:Messenger:禁用"}},
    {kAlways, {"SwPrv", NetVerb::None, StartMode::Demand, "29:MS Software Shadow Copy Provider:手动"}},
    {kAlways, {"Netlogon", NetVerb::None, StartMode::Demand, "30:Net Logon:手动"}},
    {kAlways, {"mnmsrvc", NetVerb::None, StartMode::Demand, "31:NetMeeting Remote Desktop Sharing:手动"}},
    {kAlways, {"NetDDE", NetVerb::Stop, StartMode::Disabled, "33:Network DDE:禁用"}},
    {kAlways, {"NetDDEdsdm", NetVerb::Stop, StartMode::Demand, "34:Network DDE DSDM:手动"}},
    {kAlways, {"Nla", NetVerb::None, StartMode::Demand, "35:Network Location Awareness (NLA):手动"}},
    {kAlways, {"xmlprov", NetVerb::None, StartMode::Demand, "36:Network Provisioning Service:手动"}},
    {kAlways, {"NtLmSsp", NetVerb::None, StartMode::Demand, "37:NT LM Security Support Provider:手动"}},
    {kAlways, {"NVSvc", NetVerb::None, StartMode::Demand, "38:NVIDIA Driver Helper Service:手动"}},
    {kAlways, {"ose", NetVerb::None, StartMode::Demand, "38.1:Office Source Engine:手动"}},
    {kAlways, {"Sysmonlog", NetVerb::None, StartMode::Demand, "39:Performance Logs and Alerts:手动"}},
    {kAlways, {"WmDmPmSN", NetVerb::None, StartMode::Demand, "41:Portable Media Serial Number Service:手动"}},
    {kAlways, {"Spooler", NetVerb::Start, StartMode::Demand, "42:Print Spooler:手动"}},
    {kAlways, {"RSVP", NetVerb::None, StartMode::Demand, "44:QoS RSVP:手动"}},
    {kAlways, {"RasAuto", NetVerb::None, StartMode::Demand, "45:Remote Access Auto Connection Manager:手动"}},
    {kAlways, {"RDSessMgr", NetVerb::None, StartMode::Demand, "47:Remote Desktop Help Session Manager:手动"}},
    {kAlways, {"RemoteRegistry", NetVerb::Start, StartMode::Auto, "50:Remote Registry:自动"}},
    {kAlways, {"NtmsSvc", NetVerb::None, StartMode::Demand, "51:Removable Storage:手动"}},
    {kAlways, {"RemoteAccess", NetVerb::Stop, StartMode::Disabled, "52:Routing and Remote Access:禁用"}},
    {kAlways, {"SCardSvr", NetVerb::None, StartMode::Demand, "58:Smart Card:手动"}},
    {kAlways, {"SSDPSRV", NetVerb::None, StartMode::Demand, "59:SSDP Discovery Service:手动"}},
    {kAlways, {"SENS", NetVerb::Start, StartMode::Auto, "60:System Event Notification:自动"}},
    {kAlways, {"srservice", NetVerb::Stop, StartMode::Disabled, "61:System Restore Service:禁用"}},
    {kAlways, {"Schedule", NetVerb::Start, StartMode::Auto, "62:Task Scheduler:自动"}},
    {kAlways, {"LmHosts", NetVerb::Start, StartMode::Auto, "63:TCP/IP NetBIOS Helper:自动"}},
    {kAlways, {"TlntSvr", NetVerb::Stop, StartMode::Disabled, "65:Telnet:禁用"}},
    {kAlways, {"TermService", NetVerb::None, StartMode::Demand, "66:Terminal Services:手动"}},
    {kAlways, {"UPS", NetVerb::None, StartMode::Demand, "68:Uninterruptible Power Supply:手动"}},
    {kAlways, {"VSS", NetVerb::None, StartMode::Demand, "70:Volume Shadow Copy:手动"}},
    {kAlways, {"WebClient", NetVerb::Start, StartMode::Auto, "71:WebClient:自动"}},
    {kAlways, {"stisvc", NetVerb::None, StartMode::Demand, "74:Windows Image Acquisition (WIA):手动"}},
    {kAlways, {"MSIServer", NetVerb::None, StartMode::Demand, "75:Windows Installer:手动"}},
    {kAlways, {"WMI", NetVerb::None, StartMode::Demand, "77:Windows Management Instrumentation Driver Extensions:手动"}},
    {kAlways, {"W32Time", NetVerb::Start, StartMode::Auto, "78:Windows Time:自动"}},
    {kAlways, {"UMWdf", NetVerb::None, StartMode::Demand, "78.1:Windows User Mode Driver Framework:手动"}},
    {kAlways, {"WZCSVC", NetVerb::Start, StartMode::Auto, "79:Wireless Zero Configuration:自动"}},
    {kAlways, {"Themes", NetVerb::Start, StartMode::Auto, "79.1:Themes:自动"}},
    {kAlways, {"RpcSs", NetVerb::Start, StartMode::Auto, "79.1:Remote Procedure Call (RPC):自动"}},
    {kAlways, {"SamSs", NetVerb::Start, StartMode::Auto, "79.2:Security Accounts Manager:自动"}},
    {kAlways, {"IISADMIN", NetVerb::Start, StartMode::Auto, "79.3:IIS Admin:自动"}},
    {kAlways, {"EventSystem", NetVerb::Start, StartMode::Demand, "79.4:COM+ Event System:手动"}},
    {kAlways, {"DcomLaunch", NetVerb::Start, StartMode::Auto, "79.5:DCOM Server Process Launcher:自动"}},
    {kAlways, {"W3SVC", NetVerb::Start, StartMode::Auto, "79.6:World Wide Web Publishing:自动"}},
    {kAlways, {"Eventlog", NetVerb::Start, StartMode::Auto, "79.7:Event Log:自动"}},
    {kAlways, {"WmiApSrv", NetVerb::None, StartMode::Demand, "80:WMI Performance Adapter:手动"}},
};

static_assert(std::size(kRows) == 67);
// FinishRun takes the last row whatever the answers.
static_assert(kRows[std::size(kRows) - 1].when.test == 0);

}  // namespace

const Profile& RestoreProfile() {
    static const Profile profile(kRows);
    return profile;
}

}  // namespace qelvane
