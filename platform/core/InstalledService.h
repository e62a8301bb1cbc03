#pragma once
// A process-wide service that tests (or a program) can replace: the instance
// installed, else a default made on first use. Installing does not take
// ownership; installing none brings the default back.

template <class Service, class Default>
class InstalledService {
public:
    Service& Current()
    {
        static Default fallback;
        return m_installed ? *m_installed : fallback;
    }
    void Install(Service* service) { m_installed = service; }
    Service* Installed() const { return m_installed; }

private:
    Service* m_installed = nullptr;
};
