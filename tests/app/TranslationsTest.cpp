#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QListWidget>
#include <QTranslator>

#include "app/FuncListDlg.h"
#include "app/GeneralDialog.h"
#include "app/SystemMessages.h"
#include "app/Translations.h"
#include "functions/FunctionTable.h"
#include "prompt/SelectionPrompt.h"
#include "support/TempFolder.h"

namespace scrivano {
namespace {

// The Simplified Chinese catalogue loaded for one test, as start-up loads it in a zh_CN locale; the
// program's other tests see English again afterwards.
class InChinese : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(catalogue_.load(QStringLiteral(":/i18n/scrivano_zh_CN.qm")));
    QCoreApplication::installTranslator(&catalogue_);
    SetShownTextFunction(&TranslatedSystemText);
  }
  void TearDown() override {
    SetShownTextFunction(nullptr);
    QCoreApplication::removeTranslator(&catalogue_);
  }
  QTranslator catalogue_;
};

TEST_F(InChinese, SystemMessagesAreTranslatedWholeOrLineByLineWithTheirVaryingParts) {
  struct Case {
    Text english, shown;
  } cases[] = {
      {u"Processing completed !", u"处理完成!"},
      {u"Could not open \"/tmp/a b.txt\" file.", u"无法打开文件“/tmp/a b.txt”。"},
      // Fixed lines around a path, and a reason inside a template.
      {u"Failed to open the file\r\n/x/r.docx\r\nbad zip", u"无法打开文件\r\n/x/r.docx\r\nbad zip"},
      {u"/x/r.docx\r\nThe review copy could not be written: its folder does not exist.",
       u"/x/r.docx\r\n无法写入审阅副本:它所在的文件夹不存在。"},
      {u"Processing failed !\r\n\r\nThe Find and Replace window did not take the keys.\r\n\r\nNothing was "
       u"replaced, and the Input window keeps its text.",
       u"处理失败!\r\n\r\n“查找和替换”窗口没有接收按键。\r\n\r\n未替换任何内容,输入窗口保留其文本。"},
      {u"Spent 12/3 (characters/seconds) to process the file(s).", u"处理文件用了 12/3(字符数/秒数)。"},
      {u"Cannot open \"%1 x\".", u"无法打开“%1 x”。"},  // an argument's own "%1" stays
      {u"Text of the user\r\nnot in the catalogue", u"Text of the user\r\nnot in the catalogue"},
  };
  for (const Case& c : cases) EXPECT_EQ(TranslatedSystemText(c.english), c.shown);
}

TEST_F(InChinese, TheFunctionListAndTheSelectionDialogShowChinese) {
  test::TempFolder folder;
  const CFuncListDlg list(FunctionEntries(), FromUtf8(folder.path() + "/config.ini"));
  EXPECT_EQ(list.windowTitle(), QStringLiteral("功能列表"));
  const auto* items = list.findChild<QListWidget*>();
  ASSERT_NE(items, nullptr);
  EXPECT_EQ(items->item(1)->text(), QStringLiteral("01. 对齐原文和译文"));
  EXPECT_EQ(items->item(1)->data(Qt::UserRole).toInt(), 1);
  Text prompt = Text(u"m") + kOptionSeparator + u"1. a";
  const CGeneralDialog dialog(prompt, 1.0f);
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("通用选择"));
}

TEST(InterfaceLanguage, EachChineseLocaleFindsTheCatalogueOfItsScript) {
  const struct {
    QLocale locale;
    const char* catalogue;
  } cases[] = {
      {QLocale(QStringLiteral("zh_CN")), "scrivano_zh_CN.qm"},
      {QLocale(QStringLiteral("zh_SG")), "scrivano_zh_CN.qm"},
      {QLocale(QStringLiteral("zh_TW")), "scrivano_zh_TW.qm"},
      {QLocale(QStringLiteral("zh_HK")), "scrivano_zh_TW.qm"},
      {QLocale(QLocale::Chinese, QLocale::TraditionalChineseScript, QLocale::Macau), "scrivano_zh_TW.qm"},
      {QLocale(QStringLiteral("en_US")), ""},
      {QLocale(QStringLiteral("de_DE")), ""},
      {QLocale::c(), ""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(CatalogueFor(c.locale).section(u'/', -1), QString::fromLatin1(c.catalogue))
        << c.locale.name().toStdString();
}

TEST(InterfaceLanguage, TheCLocaleLoadsNoCatalogue) {
  EXPECT_EQ(InstallTranslations(QLocale::c()), QString());
  EXPECT_EQ(ShownText(u"Processing completed !"), u"Processing completed !");
}

}  // namespace
}  // namespace scrivano
