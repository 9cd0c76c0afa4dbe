#pragma once

#include <string>

// OpenAL reads its configuration and its log level once, from the
// environment and its configuration files, when it is first used. These set
// the game's own before that moment and put the player's environment back
// once the library has read it.
//
// `configFolder` holds the game's alsoft.conf; it is read before the
// player's own files. Unless the player set ALSOFT_LOGLEVEL, the library
// logs nothing: the device tells the player itself when sound is lost and
// when it is back, instead of the library's lines at every attempt.
void ApplyOpenALSettings(const std::string& configFolder);
void RestoreEnvironmentAfterOpenAL();

// Whether the system-wide configuration already decides whether streams may
// move; the game's setting then stays out of the way.
bool ConfigurationDecidesMoves(const std::string& configFile);
