// SPDX-License-Identifier: MIT
#include "https_server.h"

#include <httplib.h>
#include <signal.h>
#include <unistd.h>

#include <condition_variable>
#include <mutex>
#include <ostream>
#include <thread>

#include "certificate.h"
#include "page_service.h"
#include "roster.h"
#include "sync_messages.h"
#include "sync_service.h"

namespace hub {
namespace {

constexpr std::size_t kThreads = 32;

// The address join codes name: the one listened on, or this machine's name when that is
// every address.
std::string AddressForCodes(const ServeSettings& settings) {
  std::string host = settings.host;
  if (host.empty() || host == "0.0.0.0" || host == "::") {
    char name[256] = {};
    gethostname(name, sizeof name - 1);
    host = name;
  }
  if (host.find(':') != std::string::npos) host = "[" + host + "]";
  return host + ":" + std::to_string(settings.port);
}

// Records where we are: at once when the database answers, else again every few seconds
// in the background until it is done or we stop.
class PlaceRecorder {
 public:
  PlaceRecorder(std::string conninfo, ServerPlace place, std::ostream& err)
      : conninfo_(std::move(conninfo)), place_(std::move(place)), err_(err) {
    if (record(true)) return;
    thread_ = std::thread([this] {
      std::unique_lock lock(mutex_);
      while (!wake_.wait_for(lock, std::chrono::seconds(5), [this] { return stopping_; })) {
        if (record(false)) return;
      }
    });
  }
  ~PlaceRecorder() {
    if (!thread_.joinable()) return;
    {
      const std::lock_guard lock(mutex_);
      stopping_ = true;
    }
    wake_.notify_all();
    thread_.join();
  }

 private:
  bool record(bool first) {
    try {
      Database database(conninfo_);
      RecordServerPlace(database, place_);
      return true;
    } catch (const std::exception& error) {
      if (first) err_ << "studyhub: cannot record the address yet: " << error.what() << '\n';
      return false;
    }
  }

  std::string conninfo_;
  ServerPlace place_;
  std::ostream& err_;
  std::mutex mutex_;
  std::condition_variable wake_;
  bool stopping_ = false;
  std::thread thread_;
};

void Reply(httplib::Response& response, const Answer& answer) {
  response.status = answer.status;
  if (answer.retryAfter.count() > 0) {
    response.set_header("Retry-After", std::to_string(answer.retryAfter.count()));
  }
  response.set_content(answer.body, answer.contentType);
}

void ServePage(page::PageService& pages, const httplib::Request& request,
               httplib::Response& response) {
  page::PageRequest asked{request.method,
                          request.path,
                          {request.params.begin(), request.params.end()},
                          request.get_header_value("Cookie"),
                          request.remote_addr};
  page::PageReply reply = pages.handle(asked);
  response.status = reply.status;
  for (const auto& [name, value] : reply.headers) response.set_header(name, value);
  response.set_content(reply.body, reply.contentType);
}

}  // namespace

int Serve(const ServeSettings& settings, std::ostream& err) {
  std::string pin;
  try {
    pin = CertificatePin(settings.certificate);
  } catch (const std::exception& error) {
    err << "studyhub: " << error.what() << '\n';
    return 2;
  }
  // The stop signals are taken by a thread of their own, so every thread started from here
  // on has them blocked.
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGTERM);
  sigaddset(&stopSignals, SIGINT);
  pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
  signal(SIGPIPE, SIG_IGN);

  httplib::SSLServer server(settings.certificate.c_str(), settings.key.c_str());
  if (!server.is_valid()) {
    err << "studyhub: the certificate " << settings.certificate << " or the key " << settings.key
        << " cannot be used\n";
    return 2;
  }
  SyncService service(settings.conninfo);
  server.set_payload_max_length(studysync::kMaxRequestBytes);
  // Enough threads that a few slow or idle connections do not hold up a class; each thread
  // keeps one database connection, well within PostgreSQL's 100.
  server.new_task_queue = [] { return new httplib::ThreadPool(kThreads); };
  server.set_read_timeout(std::chrono::seconds(10));
  // A reply goes out at once, not held back for the client's acknowledgement (Nagle).
  server.set_tcp_nodelay(true);
  server.Post("/v1/join", [&](const httplib::Request& request, httplib::Response& response) {
    Reply(response, service.join(request.body, request.remote_addr));
  });
  server.Post("/v1/sync", [&](const httplib::Request& request, httplib::Response& response) {
    Reply(response, service.sync(request.get_header_value("Authorization"), request.body,
                                 request.remote_addr));
  });
  for (const auto part : {studysync::BookPart::CourseFile, studysync::BookPart::Phonetics}) {
    server.Post(studysync::BookPartPath(part),
                [&service, part](const httplib::Request& request, httplib::Response& response) {
                  Reply(response, service.book(request.get_header_value("Authorization"),
                                               request.body, request.remote_addr, part));
                });
  }
  server.Post("/v1/publish", [&](const httplib::Request& request, httplib::Response& response) {
    Reply(response, service.publish(request.body, request.remote_addr));
  });
  // Everything else is the teachers' class page.
  page::PageService pages(settings.conninfo);
  const auto page = [&](const httplib::Request& request, httplib::Response& response) {
    ServePage(pages, request, response);
  };
  server.Get(".*", page);
  server.Post(".*", page);
  server.set_exception_handler(
      [&](const httplib::Request&, httplib::Response& response, std::exception_ptr failure) {
        try {
          std::rethrow_exception(failure);
        } catch (const std::exception& error) {
          err << "studyhub: " << error.what() << '\n';
        } catch (...) {
        }
        Reply(response, {500, R"({"error":"the server failed"})", std::chrono::seconds(0)});
      });
  PlaceRecorder recorder(settings.conninfo, {AddressForCodes(settings), pin}, err);
  if (!server.bind_to_port(settings.host, settings.port)) {
    err << "studyhub: cannot listen on " << settings.host << ":" << settings.port << '\n';
    return 2;
  }
  std::thread stopper([&] {
    int signal = 0;
    sigwait(&stopSignals, &signal);
    server.stop();
  });
  err << "studyhub: serving https://" << AddressForCodes(settings) << std::endl;
  server.listen_after_bind();
  // The server stopped by itself (it never does but for a signal): let the waiting thread go.
  if (stopper.joinable()) {
    pthread_kill(stopper.native_handle(), SIGTERM);
    stopper.join();
  }
  return 0;
}

}  // namespace hub
