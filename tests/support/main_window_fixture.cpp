#include "support/main_window_fixture.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTest>

namespace vidorun::testing {

void WorkingFolderTest::SetUp()
{
    ASSERT_TRUE(m_folder.isValid());
    m_previousFolder = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(m_folder.path()));
}

void WorkingFolderTest::TearDown()
{
    QDir::setCurrent(m_previousFolder);
}

QString WorkingFolderTest::path(const QString &name) const
{
    return QDir(m_folder.path()).filePath(name);
}

void WorkingFolderTest::writeFile(const QString &name, const QByteArray &bytes)
{
    const QString full = path(name);
    QDir().mkpath(QFileInfo(full).absolutePath());
    QFile file(full);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << name.toStdString();
    ASSERT_EQ(file.write(bytes), bytes.size());
}

QString WorkingFolderTest::reasonForNoFileAt(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) ? QString() : file.errorString();
}

QByteArray WorkingFolderTest::readFile(const QString &name) const
{
    QFile file(path(name));
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.readAll();
}

void MainWindowTest::TearDown()
{
    m_window.reset();
    WorkingFolderTest::TearDown();
}

VidorunMain &MainWindowTest::start()
{
    m_window = std::make_unique<VidorunMain>(fake.platform());
    m_window->show();
    m_window->activateWindow();
    return *m_window;
}

QComboBox *MainWindowTest::movies() const
{
    return m_window->findChild<QComboBox *>(QStringLiteral("Movies"));
}

QLabel *MainWindowTest::label(const char *name) const
{
    return m_window->findChild<QLabel *>(QLatin1String(name));
}

QPushButton *MainWindowTest::button(const char *name) const
{
    return m_window->findChild<QPushButton *>(QLatin1String(name));
}

QAction *MainWindowTest::action(const char *name) const
{
    return m_window->findChild<QAction *>(QLatin1String(name));
}

QStringList MainWindowTest::listedTitles() const
{
    QStringList titles;
    for (int i = 0; i < movies()->count(); ++i)
        titles << movies()->itemText(i);
    return titles;
}

void MainWindowTest::click(const char *buttonName)
{
    QPushButton *b = button(buttonName);
    ASSERT_NE(b, nullptr) << buttonName;
    QTest::mouseClick(b, Qt::LeftButton);
}

void MainWindowTest::trigger(const char *actionName)
{
    QAction *a = action(actionName);
    ASSERT_NE(a, nullptr) << actionName;
    a->trigger();
}

void MainWindowTest::activate()
{
    m_window->activateWindow();
    QApplication::setActiveWindow(m_window.get());
    EXPECT_TRUE(QTest::qWaitForWindowActive(m_window.get()));
}

QByteArray projectFileBytes(const QStringList &lines)
{
    QByteArray bytes;
    for (const QString &line : lines)
        bytes += line.toUtf8() + "\r\n";
    return bytes;
}

}  // namespace vidorun::testing
