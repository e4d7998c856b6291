#include "timeserver/TimeServerDialog.h"

#include <string>
#include <vector>

#include "res/resource.h"
#include "timeserver/TimeServerRegistry.h"

namespace {

// Nothing typed is ever cut: the box takes no more than a text value holds.
constexpr WPARAM kLongestAddress = 127;

}  // namespace

TimeServerDialog::TimeServerDialog() : DialogBase(IDD_TIME_SERVER) {}

BOOL TimeServerDialog::OnInitDialog() {
  addButton_ = Item(IDC_ADD_SERVER);
  address_ = Item(IDC_SERVER_ADDRESS);
  applyButton_ = Item(IDC_APPLY_SERVER);
  list_ = Item(IDC_SERVER_LIST);
  EnableWindow(applyButton_, FALSE);
  EnableWindow(addButton_, FALSE);
  SendMessageA(address_, EM_LIMITTEXT, kLongestAddress, 0);
  FillServerList();
  return TRUE;
}

bool TimeServerDialog::OnCommand(int id, int code, HWND control) {
  if (id == IDC_SERVER_LIST && code == CBN_SELCHANGE) {
    EnableWindow(applyButton_, TRUE);
    return true;
  }
  if (id == IDC_SERVER_ADDRESS && code == EN_CHANGE) {
    EnableWindow(addButton_, TRUE);
    return true;
  }
  if (id == IDC_ADD_SERVER && code == BN_CLICKED) {
    AddServer();
    return true;
  }
  if (id == IDC_APPLY_SERVER && code == BN_CLICKED) {
    ApplyServer();
    return true;
  }
  return DialogBase::OnCommand(id, code, control);
}

// Each entry carries its server's own number, so the number written back is
// the one the server was read under.
void TimeServerDialog::FillServerList() {
  TimeServerList servers = ReadTimeServers();
  for (const TimeServer& server : servers.servers) {
    LRESULT index = SendMessageA(list_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(server.host.c_str()));
    SendMessageA(list_, CB_SETITEMDATA, index, server.number);
  }
  if (servers.current >= 0) SendMessageA(list_, CB_SETCURSEL, servers.current, 0);
}

void TimeServerDialog::AddServer() {
  char address[kLongestAddress + 1] = {};
  GetWindowTextA(address_, address, sizeof address);
  std::vector<TimeServer> listed;
  LRESULT count = SendMessageA(list_, CB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i)
    listed.push_back({static_cast<int>(SendMessageA(list_, CB_GETITEMDATA, i, 0)), ""});
  LRESULT index = SendMessageA(list_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(address));
  SendMessageA(list_, CB_SETITEMDATA, index, NextServerNumber(listed));
}

void TimeServerDialog::ApplyServer() {
  LRESULT index = SendMessageA(list_, CB_GETCURSEL, 0, 0);
  if (index == CB_ERR) return;
  LRESULT length = SendMessageA(list_, CB_GETLBTEXTLEN, index, 0);
  if (length == CB_ERR) return;
  std::string host(static_cast<size_t>(length) + 1, '\0');
  SendMessageA(list_, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(&host[0]));
  host.resize(static_cast<size_t>(length));
  int number = static_cast<int>(SendMessageA(list_, CB_GETITEMDATA, index, 0));
  ConfirmAndApplyTimeServer(Handle(), TimeServer{number, host});
}
