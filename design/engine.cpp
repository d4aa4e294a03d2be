// Exchange engine and impulse response.
