// Callbacks through which the registry enumerations hand each entry to their user.
#pragma once

class RegistryKey;
class RegistryValue;

class RegistryVisitor {
public:
    virtual ~RegistryVisitor() = default;
    // value is null when the enumeration found the name but could not read the value.
    // Returning false ends the enumeration.
    virtual bool OnValue(RegistryValue* value) = 0;
    virtual bool OnKey(RegistryKey* key) = 0;
};
