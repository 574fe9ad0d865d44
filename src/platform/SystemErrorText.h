#pragma once
// The system's texts for error codes, in English whatever the user's locale:
// they go into the program's own English messages and its log.
#include <string>

// The text of an errno value ("Permission denied").
std::string SystemErrorText(int code);
// The text of a getaddrinfo result ("Name or service not known").
std::string AddressErrorText(int code);
