#pragma once
// A registrations key over a list of name/data pairs: the queries and the
// access rule the desktop store and its fake share.
#include <QList>
#include <QPair>
#include <QString>

#include "platformapi/platform.h"

namespace gw {

using RegValue = QPair<QString, QString>;

// Index of the value named `name` (without regard to case, as the system's
// names match), or -1.
int FindRegValue(const QList<RegValue>& values, const QString& name);

class ValueListKey : public RegistryKey {
public:
    long QueryValue(const QString& name, QString* data) override;
    long QueryInfo(int* valueCount, int* maxNameLength, int* maxDataLength) override;
    long EnumValue(int index, QString* name, QString* data) override;
    long SetValue(const QString& name, const QString& data) override;
    long DeleteValue(const QString& name) override;

    // KEY_SET_VALUE is the bit that allows changes.
    static bool Writable(uint32_t access) { return (access & 0x0002) != 0; }

protected:
    explicit ValueListKey(bool writable) : writable_(writable) {}
    // The values as they read now, in enumeration order.
    virtual const QList<RegValue>& Values() const = 0;
    // Only on a writable key: sets or adds the value.
    virtual void Store(const QString& name, const QString& data) = 0;
    // Only on a writable key: removes Values()[index]; false when it cannot.
    virtual bool Remove(int index) = 0;
    // Index of a value by name; a key with an index of its names answers from it.
    virtual int Find(const QString& name) const { return FindRegValue(Values(), name); }

private:
    bool writable_;
};

} // namespace gw
