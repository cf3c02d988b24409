// Writes a .sek file of generated records, for timing the command line on a large file:
//   sekreta_make_bench_file PATH COUNT PASS-PHRASE
#include "RecordGenerator.h"

#include "framework/CArchive.h"
#include "framework/SafeSave.h"
#include "platform/posix/PosixFileSystem.h"
#include "storage/RecordFile.h"

#include <exception>
#include <iostream>
#include <string>

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::cerr << "usage: sekreta_make_bench_file PATH COUNT PASS-PHRASE\n";
        return 2;
    }
    try {
        const std::vector<sekreta::AccountRecord> records = sekreta::bench::GenerateRecords(std::stoul(argv[2]));
        sekreta::platform::PosixFileSystem files;
        sekreta::SafeSave(files, files.Absolute(argv[1]), [&](sekreta::CFile& file) {
            sekreta::CArchive archive(file, sekreta::CArchive::store);
            sekreta::StoreRecords(archive, records, argv[3]);
            archive.Close();
        });
    } catch (const std::exception& failure) {
        std::cerr << "sekreta_make_bench_file: " << failure.what() << '\n';
        return 1;
    }
    return 0;
}
