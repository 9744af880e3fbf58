// The settings store: text values under HKEY_LOCAL_MACHINE.
#pragma once
#include <string>

namespace eRegistration {
// Creates the key if needed and writes a text value; failures are silent.
void SetRegistryValue(const std::string& key, const std::string& name, const std::string& value);
// "" when the key does not open; 254 blanks when the key exists without the value.
std::string GetRegistryValue(const std::string& key, const std::string& name);
// Deletes one key that has no subkeys, with its values.
void DeleteRegistryKey(const std::string& key);
// Deletes a key with all its subkeys.
void DeleteRegistryTree(std::string key);
// Deletes every subkey of a key, depth first, and leaves the key.
void DeleteRegistrySubKeys(const std::string& key);
}  // namespace eRegistration
