#include "DictionaryFile.h"

#include "tests/ado/TestDatabase.h"

#include <gtest/gtest.h>

const wchar_t DictionaryFile::kPath[] = L"C:\\WINDOWS\\system32\\abc.mp3";
static const wchar_t kAside[] = L"C:\\WINDOWS\\system32\\abc.mp3.dictionary-test";

DictionaryFile::DictionaryFile()
{
    m_putAside = MoveFileExW(kPath, kAside, MOVEFILE_REPLACE_EXISTING);
    DeleteFileW(kPath);
}

DictionaryFile::~DictionaryFile()
{
    DeleteFileW(kPath);
    if (m_putAside)
        MoveFileExW(kAside, kPath, MOVEFILE_REPLACE_EXISTING);
}

void DictionaryFile::Make(const char* sql)
{
    DeleteFileW(kPath);
    testdb::Make(kPath, sql);
}

void DictionaryFile::MakeTable(const char* rows)
{
    Make((std::string("CREATE TABLE cantonesePhonetic (id INTEGER PRIMARY KEY, Character TEXT, Phonetic TEXT);"
                      "INSERT INTO cantonesePhonetic VALUES ") + rows + ";").c_str());
}
