#include "support/testcopy.h"

#include "base/platform/udptransport.h"
#include "base/settings/optfile.h"
#include "base/settings/partner.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

namespace testkit {

TestCopy::TestCopy(FakeNetwork &network, const QString &address, const QString &programDir)
    : transport(network.host(address)), m_address(address)
{
    build(programDir);
}

TestCopy::TestCopy(const QString &loopbackAddress, const QString &programDir)
    : transport(std::make_unique<platform::UdpTransport>(QHostAddress(loopbackAddress))),
      m_address(loopbackAddress)
{
    build(programDir);
}

TestCopy::~TestCopy() = default;

void TestCopy::build(const QString &programDir)
{
    m_programDir = programDir.isEmpty() ? m_dir.path() : programDir;
    const core::Services services{*transport,
                                  tray,
                                  dialogs,
                                  clock,
                                  clipboard,
                                  identity,
                                  files,
                                  notifications,
                                  m_programDir,
                                  QStringLiteral("ＭＳ Ｐゴシック"),
                                  QCoreApplication::applicationFilePath(),
                                  autostartFile(),
                                  configFile()};
    copy = std::make_unique<copy::Copy>(services);
}

QString TestCopy::autostartFile() const
{
    return m_dir.filePath(QStringLiteral("config/autostart/miltoanne.desktop"));
}

QString TestCopy::configFile() const
{
    return m_dir.filePath(QStringLiteral("config/miltoanne/miltoanne.conf"));
}

QString TestCopy::programDir() const
{
    return m_programDir;
}

void TestCopy::writeFile(const QString &name, const QByteArray &bytes) const
{
    QFile file(QDir(m_programDir).filePath(name));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write test file");
}

void TestCopy::writeOptions(const std::function<void(core::Options &)> &change) const
{
    core::Options opt;
    opt.fontName = QStringLiteral("ＭＳ Ｐゴシック");
    change(opt);
    writeFile(QStringLiteral("optFile.dat"), settings::formatOptions(opt));
}

void TestCopy::writePartner(const QString &name, const QString &address) const
{
    writeFile(QStringLiteral("adrFile.dat"), settings::formatAddressFile({name, address}));
}

QByteArray TestCopy::readFile(const QString &name) const
{
    QFile file(QDir(m_programDir).filePath(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace testkit
