#pragma once

#include "hosting/TResRefManager.h"
#include "platform/ui/TApplication.h"

#include <QStringList>
#include <gtest/gtest.h>

// A fresh class registry with the test windows registered, a manager whose
// hooks are recorded, and the errors that reach the application object
// collected instead of shown.
class HostingFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    TResRefManager* Manager = nullptr;
    QStringList Errors;
    QStringList Hooks;
    bool AllowCreation = true;

private:
    TExceptionEvent FSavedOnException;
};
