#pragma once
#include "catalogue/header_names.h"
#include "settings/program_values.h"

#include <gtest/gtest.h>

// A test that starts with every program-wide value empty and leaves them as it
// found them, so that tests run in one process cannot reach into each other.
class ProgramValuesFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ProgramFolder.clear();
        RomFolder.clear();
        CdRomFolder.clear();
        PixFolder.clear();
        KGenLocation.clear();
        GenecystLocation.clear();
        DefaultOptions = OptionSet{};
        HeaderName.clear();
        InfoFileName.clear();
    }

    void TearDown() override
    {
        ProgramFolder = saved_.programFolder;
        RomFolder = saved_.romFolder;
        CdRomFolder = saved_.cdRomFolder;
        PixFolder = saved_.pixFolder;
        KGenLocation = saved_.kgenLocation;
        GenecystLocation = saved_.genecystLocation;
        DefaultOptions = saved_.defaultOptions;
        HeaderName = saved_.headerName;
        InfoFileName = saved_.infoFileName;
    }

private:
    struct Saved
    {
        QString programFolder = ProgramFolder;
        QString romFolder = RomFolder;
        QString cdRomFolder = CdRomFolder;
        QString pixFolder = PixFolder;
        QString kgenLocation = KGenLocation;
        QString genecystLocation = GenecystLocation;
        OptionSet defaultOptions = DefaultOptions;
        QByteArray headerName = HeaderName;
        QString infoFileName = InfoFileName;
    } saved_;
};
