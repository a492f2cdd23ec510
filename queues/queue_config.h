// The configuration file of one queue: <installDir>/<queue>/root/plovaConfig.
#pragma once

#include <string>

// The connection lines of the file for a device URI: "PRINTERHOST ..." and
// "PRINTERREMQ ..." (each with its newline) for lpd, socket and file URIs,
// "" for other schemes.
std::string connectionLines(const std::string& deviceUri);

// Writes the file for one queue; 1 when written, 0 when it cannot be created.
int saveConfiguration(const std::string& queueName, int printerType, int connectionKind,
                      const std::string& ppdName, const std::string& deviceUri);

// Raises the version marker of /opt/kwo/<queue>/root/plovaConfig. 1 when the
// file was processed, 0 when it is missing, cannot be read, or the
// temporary file fails.
int processPrinterConfig(const std::string& queueName);
