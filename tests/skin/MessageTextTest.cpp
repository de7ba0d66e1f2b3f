#include <gtest/gtest.h>

#include <string>

#include "workflow/MessageText.h"

namespace {

struct ExpectedText {
    LANGID language;
    UINT id;
    const wchar_t* text;
};

// Written out from the message table, independently of the resource script.
const ExpectedText kExpected[] = {
    {1031, 5000, L"Corvana ist installiert.\r\nStarten Sie Corvana."},
    {1031, 5001, L"Corvana ist nicht installiert.\r\nMöchten Sie die Installationsdatei herunterladen?"},
    {1031, 5002,
     L"Bei der Verifikation von CVN ist ein Fehler aufgetreten.\r\nSchließen Sie das Gerät erneut an. "},
    {1031, 5003,
     L"Das Betriebssystem wird in dieser Sprache nicht vom CVN-Auto-Installer unterstützt.\r\nAls Standardsprache "
     L"wird Englisch eingestellt. "},
    {1032, 5000, L"Εγκαταστάθηκε το Corvana.\r\nΕκκίνηση του Corvana."},
    {1032, 5001, L"Το Corvana δεν εγκαταστάθηκε.\r\nΘέλετε να φορτώσετε το αρχείο εγκατάστασης;"},
    {1032, 5002, L"Προκλήθηκε σφάλμα κατά την επιβεβαίωση του CVN.\r\nΣυνδέστε ξανά τη συσκευή."},
    {1032, 5003,
     L"Η γλώσσα του λειτουργικού συστήματος δεν υποστηρίζεται από το αυτόματο πρόγραμμα εγκατάστασης CVN.\r\nΗ "
     L"προεπιλεγμένη γλώσσα ορίζεται σε Αγγλικά."},
    {1033, 5000, L"Corvana is installed.\r\nStart Corvana."},
    {1033, 5001, L"Corvana is not installed.\r\nDo you want to download the installation file?"},
    {1033, 5002, L"An error occurred while verifying CVN.\r\nConnect the device again."},
    {1033, 5003,
     L"Operating system language  is not supported by CVN auto installer.\r\nThe default language will be set to "
     L"English."},
    {1036, 5000, L"Corvana est installé.\r\nDémarrez Corvana."},
    {1036, 5001, L"Corvana n’est pas installé.\r\nVoulez-vous télécharger le fichier d’installation ?"},
    {1036, 5002, L"Une erreur s’est produite pendant la vérification de CVN.\r\nReconnectez l’appareil."},
    {1036, 5003,
     L"Le système d’exploitation de la langue n’est pas pris en charge par le programme d'installation "
     L"automatique de CVN.\r\nLa langue par défaut sera l’anglais."},
    {1040, 5000, L"Corvana è stato installato.\r\nAvviare Corvana."},
    {1040, 5001, L"Corvana non è installato.\r\nScaricare il file di installazione?"},
    {1040, 5002,
     L"Si è verificato un errore durante la verifica di CVN.\r\nConnettere nuovamente il dispositivo."},
    {1040, 5003,
     L"La lingua del sistema operativo non è supportata dal programma di installazione automatica di CVN. \r\nLa "
     L"lingua predefinita deve essere impostata su Inglese."},
    {1043, 5000, L"Corvana is geïnstalleerd.\r\nStart Corvana."},
    {1043, 5001, L"Corvana is niet geïnstalleerd.\r\nWilt u het installatiebestand downloaden?"},
    {1043, 5002, L"Er is een fout opgetreden tijdens het controleren van CVN.\r\nSluit het apparaat opnieuw aan."},
    {1043, 5003,
     L"De taal van het besturingssysteem wordt niet ondersteund door het automatische "
     L"CVN-installatieprogramma.\r\nDe standaardtaal wordt ingesteld op Engels."},
    {1055, 5000, L"Corvana yüklü durumda.\r\nCorvana’yu başlatın."},
    {1055, 5001, L"Corvana yüklü değil.\r\nKurulum dosyasını karşıdan yüklemek istiyor musunuz?"},
    {1055, 5002, L"CVN doğrulanırken bir hata oluştu.\r\nAygıtı yeniden yeniden bağlayın."},
    {1055, 5003,
     L"İşletim sistemi dili CVN otomatik yükleyicisi tarafından desteklenmiyor.\r\nVarsayılan dil İngilizce "
     L"olarak ayarlanacak."},
    {2057, 5000, L"Corvana is installed.\r\nStart Corvana."},
    {2057, 5001, L"Corvana is not installed.\r\nDo you want to download the installation file?"},
    {2057, 5002, L"An error occurred while verifying CVN.\r\nConnect the device again."},
    {2057, 5003,
     L"Operating system language  is not supported by CVN auto installer.\r\nThe default language will be set to "
     L"English."},
    {2070, 5000, L"O Corvana está instalado.\r\nInicie o Corvana."},
    {2070, 5001, L"O Corvana não está instalado.\r\nPretende transferir o ficheiro de instalação?"},
    {2070, 5002, L"Ocorreu um erro durante a verificação do Corvana.\r\nLigue novamente o dispositivo."},
    {2070, 5003,
     L"O idioma do Sistema Operativo não é suportado pelo programa de instalação automática do Corvana.\r\nO "
     L"idioma predefinido será definido como Inglês."},
    {3082, 5000, L"Corvana instalado.\r\nIniciar Corvana."},
    {3082, 5001, L"Corvana no está instalado.\r\n¿Desea descargar el archivo de instalación?"},
    {3082, 5002, L"Se ha producido un error durante la verificación de CVN.\r\nConecte de nuevo el dispositivo."},
    {3082, 5003,
     L"Idioma de SO no compatible con el autoinstalador CVN.\r\nEl idioma predeterminado se configurará como "
     L"Inglés."},
};

class StringTable : public ::testing::Test {
protected:
    void SetUp() override
    {
        module = LoadLibraryExW(CVNAI_EXE_PATH, nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(module, nullptr) << "cannot open " << CVNAI_EXE_PATH;
    }
    void TearDown() override
    {
        if (module != nullptr) {
            FreeLibrary(module);
        }
    }
    HMODULE module = nullptr;
};

}  // namespace

TEST_F(StringTable, FortyTextsInTenLanguages)
{
    ASSERT_EQ(sizeof(kExpected) / sizeof(kExpected[0]), 40u);
    for (const ExpectedText& expected : kExpected) {
        std::wstring text;
        ASSERT_TRUE(FindStringInLanguage(module, expected.id, expected.language, text))
            << "language " << expected.language << " id " << expected.id;
        EXPECT_EQ(text, std::wstring(expected.text)) << "language " << expected.language << " id " << expected.id;
    }
}

TEST_F(StringTable, EachLanguageHoldsExactlyTheFourMessages)
{
    for (LANGID language : {1031, 1032, 1033, 1036, 1040, 1043, 1055, 2057, 2070, 3082}) {
        for (UINT id = 4992; id < 5008; ++id) {
            std::wstring text;
            const bool present = FindStringInLanguage(module, id, language, text);
            EXPECT_EQ(present, id >= 5000 && id <= 5003) << "language " << language << " id " << id;
        }
    }
    std::wstring text;
    EXPECT_FALSE(FindStringInLanguage(module, 5000, 1053, text)) << "no Swedish table";
}

TEST_F(StringTable, EasilyLostCharacters)
{
    std::wstring text;
    ASSERT_TRUE(FindStringInLanguage(module, 5003, 1033, text));
    EXPECT_NE(text.find(L"language  is"), std::wstring::npos);
    ASSERT_TRUE(FindStringInLanguage(module, 5002, 1031, text));
    EXPECT_EQ(text.back(), L' ');
    ASSERT_TRUE(FindStringInLanguage(module, 5001, 3082, text));
    EXPECT_NE(text.find(L"\r\n\u00BFDesea"), std::wstring::npos);
    ASSERT_TRUE(FindStringInLanguage(module, 5003, 1036, text));
    EXPECT_NE(text.find(L"d'installation"), std::wstring::npos);
    EXPECT_NE(text.find(L"d\u2019exploitation"), std::wstring::npos);
}

// LoadMessageText reads this test program's own copy of the tables.
TEST(LoadMessageText, FollowsTheChosenLanguage)
{
    SetMessageLanguage(1036);
    EXPECT_EQ(LoadMessageText(5000), L"Corvana est install\u00E9.\r\nD\u00E9marrez Corvana.");
    SetMessageLanguage(1032);
    EXPECT_EQ(LoadMessageText(5002).substr(0, 4), L"\u03A0\u03C1\u03BF\u03BA");
    SetMessageLanguage(1033);
}

TEST(LoadMessageText, BritishEnglishEqualsAmericanEnglish)
{
    for (UINT id = 5000; id <= 5003; ++id) {
        SetMessageLanguage(1033);
        const std::wstring american = LoadMessageText(id);
        SetMessageLanguage(2057);
        EXPECT_EQ(LoadMessageText(id), american) << id;
    }
    SetMessageLanguage(1033);
}

TEST(LoadMessageText, MissingIdentifierGivesThePreviousText)
{
    SetMessageLanguage(1033);
    const std::wstring previous = LoadMessageText(5001);
    EXPECT_EQ(LoadMessageText(5004), previous);
    EXPECT_EQ(LoadMessageText(4999), previous);
}

TEST(LoadMessageText, LanguageWithoutTableFallsBackToThePlatformChoice)
{
    SetMessageLanguage(1053);
    const std::wstring text = LoadMessageText(5000);
    EXPECT_FALSE(text.empty());
    EXPECT_NE(text.find(L"Corvana"), std::wstring::npos);
    SetMessageLanguage(1033);
}

TEST(LoadMessageText, CopiesAreIndependent)
{
    SetMessageLanguage(1033);
    std::wstring first = LoadMessageText(5000);
    std::wstring second = LoadMessageText(5000);
    first[0] = L'X';
    EXPECT_EQ(second, L"Corvana is installed.\r\nStart Corvana.");
    EXPECT_EQ(LoadMessageText(5004), L"Corvana is installed.\r\nStart Corvana.");
}
