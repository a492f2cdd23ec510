#include "queues/queue_config.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include "discovery/tmpfile.h"
#include "driver/log.h"
#include "driver/state.h"
#include "driver/text_file.h"
#include "install/fs_helpers.h"

namespace {

constexpr std::size_t kConnectionValueMax = 79;

// The host runs up to the first of stops; the remote queue is what follows
// that character.
std::string hostAndQueue(const std::string& rest, const char* stops) {
  std::size_t start = rest.find_first_not_of('/');
  if (start == std::string::npos) start = rest.size();
  const std::size_t stop = rest.find_first_of(stops, start);
  const std::string host = rest.substr(start, stop == std::string::npos ? std::string::npos : stop - start);
  const std::string queue = stop == std::string::npos ? "" : rest.substr(stop + 1);
  return format("PRINTERHOST %s\nPRINTERREMQ %s\n", host.substr(0, kConnectionValueMax),
                queue.substr(0, kConnectionValueMax));
}

std::string readAll(const std::string& path) {
  File file = openFile(path, "rb");
  std::string all;
  if (!file) return all;
  char block[4096];
  for (std::size_t n; (n = std::fread(block, 1, sizeof block, file.get())) > 0;) all.append(block, n);
  return all;
}

}  // namespace

std::string connectionLines(const std::string& deviceUri) {
  std::size_t at;
  if ((at = deviceUri.find("lpd:")) != std::string::npos) return hostAndQueue(deviceUri.substr(at + 4), "/");
  if ((at = deviceUri.find("socket:")) != std::string::npos) return hostAndQueue(deviceUri.substr(at + 7), "/:");
  if ((at = deviceUri.find("file:")) != std::string::npos)
    return format("PRINTERHOST   \nPRINTERREMQ %s\n", deviceUri.substr(at + 5).substr(0, kConnectionValueMax));
  return "";
}

int saveConfiguration(const std::string& queueName, int printerType, int connectionKind,
                      const std::string& ppdName, const std::string& deviceUri) {
  const std::string path = state.installDir + "/" + queueName + "/root/plovaConfig";
  if (state.debugLevel > 0)
    std::fputs(format("saveConfiguration(%s, %d, %d, %s, %s)\n", queueName, printerType, connectionKind, ppdName,
                      deviceUri)
                   .c_str(),
               stderr);
  File file = openFile(path, "w");
  if (!file) {
    logMsg(Msg::CannotCreateConfig, path);
    return 0;
  }
  const std::string ppdFile = state.cupsBaseDir == "/"
                                  ? format("PPDFILE      /etc/cups/ppd/%s.ppd\n", queueName)
                                  : format("PPDFILE      %s/etc/cups/ppd/%s.ppd\n", state.cupsBaseDir, queueName);
  const std::string content = "%%PLOVA_CONFIGURATION_FILE\n%%PLOVA_VERSION_3.0\n$$$WOXSTARTPRINT\n" +
                              format("VERSION     %d\n", 520448) + format("PRINTERNAME %s\n", queueName) +
                              format("PRINTERTYPE %d\n", printerType) + format("PRINTERCNCT %d\n", connectionKind) +
                              connectionLines(deviceUri) + "USERNAME    root\n" +
                              format("USERDIR      %s\n", state.installDir) + "TMPDIR       /tmp\n" + ppdFile +
                              format("PPDORGFILE   %s/%s\n", state.packagePpdDir, ppdName) + "$$$WOXSTOPPRINT\n";
  writeText(file.get(), content);
  file.reset();
  if (const passwd* root = ::getpwnam("root")) {
    if (::chown(path.c_str(), root->pw_uid, root->pw_gid) != 0) {
      // Ownership stays as created; the mode below still applies.
    }
  }
  ::chmod(path.c_str(), 0755);
  logMsg(Msg::SavedConfig, path);
  return 1;
}

int processPrinterConfig(const std::string& queueName) {
  const std::string path = "/opt/kwo/" + queueName + "/root/plovaConfig";
  File in = openFile(path, "r");
  if (!in) return 0;
  const std::string tmp = myTmpName("/tmp", "WOX");
  File out = openFile(tmp, "w");
  if (!out) {
    ::unlink(tmp.c_str());
    return 0;
  }
  for (std::string line; readPart(in.get(), line);)
    writeText(out.get(), line.find("%%PLOVA_VERSION_1.0") != std::string::npos ? "%%PLOVA_VERSION_3.0\n" : line);
  const bool written = std::fflush(out.get()) == 0 && !std::ferror(out.get());
  in.reset();
  out.reset();
  const std::string rewritten = readAll(tmp);
  if (written) copyFile(tmp, path);
  const bool copiedBack = written && readAll(path) == rewritten;
  ::unlink(tmp.c_str());
  logMsg(copiedBack ? Msg::ConfigUpdated : Msg::ConfigCopyBackFailed, queueName);
  return 1;
}
