"""Start-up against the ERP's files and database, the certificate list and the test query,
driven from outside."""

import os
import shutil
import subprocess
import unittest

from ambiente import RAIZ, Ambiente
from tela import Tela
from test_shell import janela_de_tamanho


class Partida(unittest.TestCase):
    def setUp(self):
        self.tela = Tela()
        self.addCleanup(self.tela.fechar)
        self.ambiente = Ambiente(self.tela)
        self.addCleanup(self.ambiente.fechar)

    def janela_principal(self):
        return self.tela.esperar(
            lambda: janela_de_tamanho(self.tela, "tolvane Gestor", 540, 357), "the main window")

    def carregada(self, prefixo):
        """Whether the running program has mapped a library whose file name starts so."""
        with open(f"/proc/{self.ambiente.processo.pid}/maps") as f:
            return any(os.path.basename(linha.split()[-1]).startswith(prefixo)
                       for linha in f if "/" in linha)

    def test_first_start_adds_the_version_columns_and_shows_the_window(self):
        self.ambiente.iniciar()
        self.janela_principal()
        # The HTTPS stack (libcurl, libssl) comes with the first query, libcrypto with the first
        # certificate (the query's cases fill the store).
        self.assertFalse(self.carregada("libcurl."))
        self.assertFalse(self.carregada("libssl."))
        self.assertEqual(self.carregada("libcrypto."),
                         bool(os.listdir(self.ambiente.certificados)))
        self.tela.menu_bandeja("s")
        codigo, _, _ = self.ambiente.esperar_fim()
        self.assertEqual(codigo, 0)
        # The embedded engine keeps the file to itself while the program runs: look afterwards.
        saida = self.ambiente.sql("select distinct versao_erp from tab_parametro")
        self.assertIn("Versao Inicial", saida)

    def test_missing_server_ini_is_a_fatal_message(self):
        os.remove(self.ambiente.ini_servidor)
        self.ambiente.iniciar()
        caixa = self.tela.esperar_janela("Aviso do Sistema")
        self.assertIn("\nNão foi encontrado o arquivo de inicialização\n",
                      self.tela.texto_da_caixa(caixa))
        self.tela.teclas(caixa, "Return")
        codigo, _, _ = self.ambiente.esperar_fim()
        self.assertNotEqual(codigo, 0)
        self.assertIsNone(self.tela.icone_bandeja())

    def test_failed_connection_is_a_fatal_message_with_the_client_text(self):
        Ambiente.escrever(self.ambiente.ini_servidor,
                          f"[Database]\nServidor=\npath={self.ambiente.dados}/\nname=NADA.FDB\n")
        self.ambiente.iniciar()
        caixa = self.tela.esperar_janela("Aviso do Sistema")
        texto = self.tela.texto_da_caixa(caixa)
        self.assertIn("\nO Sistema não conseguiu conectar com a base de dados.\r"
                      "EIBInterBaseError: ", texto)
        self.assertIn("NADA.FDB", texto)
        self.tela.teclas(caixa, "Return")
        codigo, _, _ = self.ambiente.esperar_fim()
        self.assertNotEqual(codigo, 0)

    def test_unreadable_store_goes_to_the_error_display_and_the_program_stays_in_the_tray(self):
        shutil.rmtree(self.ambiente.certificados)
        Ambiente.escrever(self.ambiente.certificados, "not a folder")
        self.ambiente.iniciar()
        caixa = self.tela.esperar_janela("tolvane Gestor")
        # The error box is captioned with the title; the main window never shows.
        self.assertIn("\nSystem Error.  Code: 20.\r\nNão é um diretório.\n",
                      self.tela.texto_da_caixa(caixa))
        self.tela.teclas(caixa, "Return")
        self.tela.esperar(self.tela.icone_bandeja, "the tray icon")
        self.assertIsNone(janela_de_tamanho(self.tela, "tolvane Gestor", 540, 357))
        self.tela.menu_bandeja("s")
        codigo, _, _ = self.ambiente.esperar_fim()
        self.assertEqual(codigo, 0)


class Consulta(Partida):
    """The test query against a local HTTPS service that requires the client certificate."""

    def setUp(self):
        super().setUp()
        self.servico = os.path.join(self.ambiente.temp.name, "servico")
        os.makedirs(os.path.join(self.servico, "respostas"))
        self.servidor = subprocess.Popen(
            ["python3", os.path.join(RAIZ, "tests", "classtrib", "servidor_https.py"),
             "--pasta", self.servico], stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True)
        self.addCleanup(self.servidor.kill)
        linha = self.servidor.stdout.readline().split()
        self.assertEqual(linha[0], "PORTA")
        shutil.copy(os.path.join(self.servico, "cliente.p12"),
                    os.path.join(self.ambiente.certificados, "empresa.p12"))
        shutil.copy(os.path.join(self.servico, "cliente-estranho.p12"),
                    os.path.join(self.ambiente.certificados, "outra.p12"))
        self.ambiente.env["TOLVANE_CLASSTRIB_URL"] = \
            f"https://127.0.0.1:{linha[1]}/teste/api/v1/consultas"
        self.ambiente.env["TOLVANE_CLASSTRIB_CA"] = os.path.join(self.servico, "ca.pem")
        # libcurl would write the TLS secrets there; the program must not let it.
        self.chaves_tls = os.path.join(self.ambiente.temp.name, "chaves-tls.log")
        self.ambiente.env["SSLKEYLOGFILE"] = self.chaves_tls

    def responder(self, status, corpo):
        respostas = os.path.join(self.servico, "respostas")
        Ambiente.escrever(os.path.join(respostas, "teste.status"), str(status))
        with open(os.path.join(respostas, "teste.corpo"), "wb") as f:
            f.write(corpo)

    def consultar(self, principal, item):
        """Chooses the item-th certificate of the list and presses "Testar Consulta"."""
        # The page control has the focus first; Tab reaches the combo box, then the button.
        self.tela.teclas(principal, "Tab", *(["Down"] * item), "Tab", "space")

    def test_lists_the_store_and_saves_the_answer_beside_the_executable(self):
        self.responder(200, "[{\"CST\":\"000\",\"Descricao\":\"Tributação integral\"}]\n"
                       .encode())
        self.ambiente.iniciar()
        principal = self.janela_principal()
        # The HTTPS stack comes with the first query, not with every start.
        self.assertFalse(self.carregada("libcurl."))
        self.consultar(principal, 1)
        caixa = self.tela.esperar_janela("tolvane Gestor", exceto=[principal])
        self.assertTrue(self.carregada("libcurl."))
        caminho = os.path.join(self.ambiente.estacao, "RetornoClassTrib.json")
        self.assertIn("\nArquivo salvo em:\r\n" + caminho + "\n", self.tela.texto_da_caixa(caixa))
        with open(caminho, "rb") as f:
            self.assertEqual(f.read(),
                             "[{\"CST\":\"000\",\"Descricao\":\"Tributação integral\"}]\r\n".encode())
        self.assertFalse(os.path.exists(self.chaves_tls), "TLS secrets were written")
        self.tela.teclas(caixa, "Return")

    def test_the_wrong_certificate_is_refused_and_the_old_answer_stays(self):
        caminho = os.path.join(self.ambiente.estacao, "RetornoClassTrib.json")
        Ambiente.escrever(caminho, "resposta anterior\r\n")
        self.responder(200, b"[]")
        self.ambiente.iniciar()
        principal = self.janela_principal()
        self.consultar(principal, 2)  # the certificate of a CA the service does not know
        caixa = self.tela.esperar_janela("tolvane Gestor", exceto=[principal])
        self.assertIn("\nErro ao consultar API Conformidade Fácil: ",
                      self.tela.texto_da_caixa(caixa))
        with open(caminho, encoding="utf-8") as f:
            self.assertEqual(f.read(), "resposta anterior\n")
        self.tela.teclas(caixa, "Return")


if __name__ == "__main__":
    unittest.main()
