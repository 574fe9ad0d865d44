// SMTP replies: a server that answers with any bytes never crashes or hangs
// the client; a session ends with "DISCONNECTED" as its last status text,
// reports "MESSAGE ACCEPTED" exactly when it says the message was accepted,
// and no server text can fake either phrase. The input is everything the
// server sends, from the greeting on; it then closes its side.
#include "FuzzSupport.h"

#include "acquisition/MailMessage.h"
#include "acquisition/SmtpClient.h"
#include "platform/StringUtils.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <thread>

namespace {

// A one-connection-at-a-time server on 127.0.0.1 that sends the current
// input, shuts down its sending side and reads until the client hangs up.
class ScriptedServer {
public:
  ScriptedServer() {
    m_listener = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (m_listener < 0 || bind(m_listener, reinterpret_cast<sockaddr *>(&address), length) != 0 ||
        listen(m_listener, 4) != 0 ||
        getsockname(m_listener, reinterpret_cast<sockaddr *>(&address), &length) != 0) {
      std::perror("scripted server");
      std::abort();
    }
    m_port = ntohs(address.sin_port);
    std::thread([this] { Serve(); }).detach(); // lives as long as the process
  }
  int Port() const { return m_port; }
  void SetScript(std::string bytes) {
    std::lock_guard lock(m_mutex);
    m_script = std::move(bytes);
  }

private:
  void Serve() {
    for (;;) {
      const int peer = accept(m_listener, nullptr, nullptr);
      if (peer < 0)
        continue;
      std::string script;
      {
        std::lock_guard lock(m_mutex);
        script = m_script;
      }
      std::size_t sent = 0;
      while (sent < script.size()) {
        const ssize_t n = send(peer, script.data() + sent, script.size() - sent, MSG_NOSIGNAL);
        if (n <= 0)
          break;
        sent += std::size_t(n);
      }
      shutdown(peer, SHUT_WR);
      char buffer[4096];
      while (recv(peer, buffer, sizeof buffer, 0) > 0) {
      }
      close(peer);
    }
  }

  int m_listener = -1;
  int m_port = 0;
  std::mutex m_mutex;
  std::string m_script;
};

ScriptedServer *g_server = nullptr;

// Status readers look for the phrases in any letter case.
bool Contains(const std::string &text, const char *phrase) {
  return UpperCase(text).find(phrase) != std::string::npos;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
  StartQtCore();
  g_server = new ScriptedServer;
  TSmtpTimings timings;
  timings.connectMs = 5000;
  timings.replyMs = 5000; // the server always closes, so no wait runs out
  timings.sliceMs = 10;
  TSmtpClient::SetDefaultTimings(timings);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  // The first byte chooses whether the client logs in.
  const bool login = size > 0 && (data[0] & 1);
  const std::string input(reinterpret_cast<const char *>(data), size);
  g_server->SetScript(size > 0 ? input.substr(1) : input);

  TMailMessage message;
  message.SetHeader(TMailMessage::hiFrom, "alerts@example.com");
  message.SetHeader(TMailMessage::hiSubject, "IBM alert");
  message.SetRecipientsText("me@example.com\r\nyou@example.com");
  message.SetBodyText("IBM: High Last Price at 105.5\r\n.\r\n");

  TSmtpClient client;
  client.SetHost("127.0.0.1");
  client.SetPort(g_server->Port());
  if (login) {
    client.SetUserName("me");
    client.SetPassword("secret");
  }
  std::vector<std::string> statuses;
  client.SetOnStatus([&](const std::string &text) { statuses.push_back(text); });
  bool accepted = false;
  try {
    accepted = client.Send(message);
  } catch (const ESmtpError &) {
  }

  const std::string where = "input: " + Shown(input);
  FUZZ_CHECK(!statuses.empty() && statuses.back() == "DISCONNECTED", where);
  int acceptedTexts = 0, disconnectedTexts = 0;
  for (const std::string &s : statuses) {
    acceptedTexts += Contains(s, "MESSAGE ACCEPTED");
    disconnectedTexts += Contains(s, "DISCONNECTED");
  }
  FUZZ_CHECK(acceptedTexts == (accepted ? 1 : 0), where);
  FUZZ_CHECK(disconnectedTexts == 1, where);
  return 0;
}
