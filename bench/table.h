#pragma once

#include "common.h"
#include "opening.h"
#include "realprogram.h"
#include "roundtrip.h"
#include "throughput.h"

#include <QStringList>

#include <vector>

namespace bench {

// Collects the figures and prints them: the details of each measurement, then one table of every
// figure with its target and whether it was met.
class Report final {
public:
    explicit Report(QString network);

    QString heading() const;
    void addRoundTrip(const RoundTrip &r);
    void addThroughput(const Throughput &t);
    void addStartUp(const StartUp &s);
    void addResources(const Resources &r, int messages);
    void addFloods(const Floods &f);
    void addOpening(const Opening &o);
    void skipRealProgram(const QString &why);
    QString text() const;

private:
    void add(QString figure, QString measured, QString target, std::optional<bool> met);
    void notMeasured(const QString &figure, const QString &why, const QString &target);

    QString m_network;
    QStringList m_details;
    std::vector<Row> m_rows;
    bool m_roundTripTargeted = false; // a round trip row already carries the target
};

} // namespace bench
